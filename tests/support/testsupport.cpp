#include "testsupport.h"
#include "data/dbfile.h"
#include "db/dberror.h"
#include <QDir>
#include <QTest>

TestDb::TestDb(bool demo)
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    if (demo)
        dbfile::createDemo(file(), false);
    else
        dbfile::create(file(), false);
    m_dm = std::make_unique<TDm1>();
    m_dm->ADO_system->open();
}

TestDb::~TestDb()
{
    m_dm.reset();
    QDir::setCurrent(m_oldCwd);
}

void TestDb::exec(const QString &sql) const
{
    m_dm->ADO_system->execute(sql);
}

QString TestDb::scalar(const QString &sql) const
{
    db::Query q(m_dm->ADO_system, QStringLiteral("scalar"));
    q.setSql({sql});
    q.open();
    return q.isEmpty() ? QString() : q.fieldByIndex(0).asString();
}

MessageScript::MessageScript()
{
    m_previous = msg::setResponder([this](const msg::Request &r) {
        m_seen << r;
        if (onShow)
            onShow(r);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return (r.buttons & QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    });
}

MessageScript::~MessageScript()
{
    msg::setResponder(m_previous);
}

QStringList MessageScript::texts() const
{
    QStringList l;
    for (const auto &r : m_seen)
        l << r.text;
    return l;
}

void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}
