#include "app/qxb_edit.h"
#include "db/text.h"
#include "data/dm1.h"
#include "data/savestep.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/messages.h"
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTextStream>
#include <QXmlStreamReader>

TForm_qxb_edit::TForm_qxb_edit(QWidget *owner) : QDialog(owner)
{
    setObjectName(S("Form_qxb_edit"));
    setWindowTitle(S("操作员编辑"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    db::Query *q = Dm1->q_qxb;

    const auto edit = [&](const char *name, const char *field, bool chinese) {
        return dbctrls::DBEdit::bound(this, S(name), q, S(field), chinese);
    };
    DBEditEh1 = edit("DBEditEh1", "姓名", true);
    DBEditEh2 = edit("DBEditEh2", "身份证号", false);
    DBEditEh3 = edit("DBEditEh3", "联系电话", false);
    DBComboBoxEh1 = new dbctrls::DBComboBox(this);
    DBComboBoxEh1->setObjectName(S("DBComboBoxEh1"));
    DBComboBoxEh1->setDataSource(q, S("输入法"));
    DBEditEh4 = edit("DBEditEh4", "备注", true);

    const auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(S(caption), this);
        b->setObjectName(S(name));
        b->setAutoDefault(false);
        return b;
    };
    bitbtn_add = button("bitbtn_add", "增加 (&A)");
    bitbtn_save = button("bitbtn_save", "存盘 (&S)");
    bitbtn_cancel = button("bitbtn_cancel", "取消 (&C)");
    bitbtn_close = button("bitbtn_close", "返回 (&R)");

    auto *g = new QGridLayout;
    g->setVerticalSpacing(6);
    int row = 0;
    for (auto [label, w] : {std::pair<const char *, QWidget *>{"姓名：", DBEditEh1}, {"身份证号：", DBEditEh2},
                            {"联系电话：", DBEditEh3}, {"输入法：", DBComboBoxEh1}, {"备注：", DBEditEh4}}) {
        auto *l = new QLabel(S(label), this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(w);
        g->addWidget(l, row, 0);
        g->addWidget(w, row++, 1);
    }
    g->setColumnMinimumWidth(1, 260);
    auto *buttons = new QHBoxLayout;
    for (auto *b : {bitbtn_add, bitbtn_save, bitbtn_cancel, bitbtn_close})
        buttons->addWidget(b);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(14, 14, 14, 10);
    v->addLayout(g);
    v->addSpacing(8);
    v->addLayout(buttons);
    v->setSizeConstraint(QLayout::SetFixedSize);

    // Enter walks the editors; in 备注 it does nothing.
    auto *ring = new dbctrls::EnterRing({DBEditEh1, DBEditEh2, DBEditEh3, DBComboBoxEh1, DBEditEh4}, this);
    ring->setFinalAction([] {});

    connect(bitbtn_add, &QPushButton::clicked, this, &TForm_qxb_edit::bitbtn_addClick);
    connect(bitbtn_save, &QPushButton::clicked, this, &TForm_qxb_edit::bitbtn_saveClick);
    connect(bitbtn_cancel, &QPushButton::clicked, this, &TForm_qxb_edit::bitbtn_cancelClick);
    connect(bitbtn_close, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm_qxb_edit::setInputMethods(const QStringList &names)
{
    DBComboBoxEh1->clear();
    DBComboBoxEh1->addItems(names);
}

void TForm_qxb_edit::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    dbctrls::applyInputMethod(this);
    DBEditEh1->setFocus();
}

bool TForm_qxb_edit::nameGiven()
{
    if (!Dm1->q_qxb->field(S("姓名")).asString().trimmed().isEmpty())
        return true;
    msg::hint(this, S("姓名不能为空,请重新输入!"));
    DBEditEh1->setFocus();
    return false;
}

void TForm_qxb_edit::bitbtn_addClick()
{
    db::Query *q = Dm1->q_qxb;
    if (!dbctrls::updateRecord(q) || !nameGiven())
        return;
    // Leaving a changed row for the new one keeps the change, stamped like
    // every save.
    if (q->isEditing() && q->isModified()) {
        if (data::saveRow(this, {.query = q, .savedMessage = {}}) != data::SaveOutcome::Saved)
            return;
    } else {
        q->cancel();
    }
    q->append();
    setAdding(true);
    DBEditEh1->setFocus();
}

void TForm_qxb_edit::bitbtn_saveClick()
{
    if (data::saveRow(this, {.query = Dm1->q_qxb, .checks = [this] { return nameGiven(); }})
        != data::SaveOutcome::Stopped)
        setAdding(false);
}

void TForm_qxb_edit::bitbtn_cancelClick()
{
    Dm1->q_qxb->cancel();
    setAdding(false);
}

void TForm_qxb_edit::setAdding(bool adding)
{
    bitbtn_add->setEnabled(!adding);
    bitbtn_close->setEnabled(!adding);
}

void TForm_qxb_edit::done(int r)
{
    // However the window is closed, a change not saved is dropped.
    Dm1->q_qxb->cancel();
    QDialog::done(r);
}

// ---------------------------------------------------------------- input methods

namespace app {
namespace {

// [InputMethod] of a Fcitx .conf file: the Chinese name where the file has one.
QString fcitxName(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&f);
    bool inSection = false;
    QString name, zhName;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line == QLatin1String("[InputMethod]");
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Name"))
            name = value;
        else if (key == QLatin1String("Name[zh_CN]") || (key == QLatin1String("Name[zh]") && zhName.isEmpty()))
            zhName = value;
    }
    return zhName.isEmpty() ? name : zhName;
}

// Engines of an IBus component file, by long name; keyboard layouts (xkb:) are
// not input methods.
QStringList ibusEngines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("engine"))
            continue;
        QString name, longName;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("name"))
                name = xml.readElementText().trimmed();
            else if (xml.name() == QLatin1String("longname") && longName.isEmpty())
                longName = xml.readElementText().trimmed();
            else
                xml.skipCurrentElement();
        }
        if (!name.isEmpty() && !name.startsWith(QLatin1String("xkb:")))
            names << (longName.isEmpty() ? name : longName);
    }
    return names;
}

QFileInfoList filesIn(const QString &dir, const char *pattern)
{
    return QDir(dir).entryInfoList({QString::fromLatin1(pattern)}, QDir::Files, QDir::Name);
}

} // namespace

QStringList inputMethodsIn(const QStringList &dataDirs)
{
    QStringList names;
    const auto add = [&names](const QString &n) {
        if (!n.isEmpty() && !names.contains(n))
            names << n;
    };
    for (const QString &d : dataDirs)
        for (const QFileInfo &fi : filesIn(d + QStringLiteral("/ibus/component"), "*.xml"))
            for (const QString &n : ibusEngines(fi.filePath()))
                add(n);
    for (const char *sub : {"/fcitx5/inputmethod", "/fcitx/inputmethod"})
        for (const QString &d : dataDirs)
            for (const QFileInfo &fi : filesIn(d + QString::fromLatin1(sub), "*.conf"))
                add(fcitxName(fi.filePath()));
    return names;
}

QStringList installedInputMethods()
{
    return inputMethodsIn(QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
}

} // namespace app
