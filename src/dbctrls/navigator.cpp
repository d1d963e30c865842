#include "dbctrls/navigator.h"
#include "db/query.h"
#include "dbctrls/icons.h"
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace dbctrls {

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    struct Def { const char *name; const char *hint; const char *icon; QStyle::StandardPixmap fallback; };
    static const Def defs[4] = {
        {"nbFirst", "第一条记录", "go-first", QStyle::SP_MediaSkipBackward},
        {"nbPrior", "上一条记录", "go-previous", QStyle::SP_MediaSeekBackward},
        {"nbNext", "下一条记录", "go-next", QStyle::SP_MediaSeekForward},
        {"nbLast", "最后一条记录", "go-last", QStyle::SP_MediaSkipForward},
    };
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(defs[i].name));
        b->setToolTip(QString::fromUtf8(defs[i].hint));
        b->setIcon(themeIcon({defs[i].icon}, defs[i].fallback));
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, i] { press(Button(i)); });
        lay->addWidget(b);
        m_buttons[i] = b;
    }
    updateButtons();
}

void DBNavigator::setDataSource(db::Query *query)
{
    if (m_query)
        disconnect(m_query, nullptr, this, nullptr);
    m_query = query;
    if (query) {
        for (auto sig : {&db::Query::currentChanged, &db::Query::dataReset, &db::Query::stateChanged})
            connect(query, sig, this, &DBNavigator::updateButtons);
        connect(query, &db::Query::rowInserted, this, &DBNavigator::updateButtons);
        connect(query, &db::Query::rowRemoved, this, &DBNavigator::updateButtons);
        connect(query, &db::Query::readFinished, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::press(Button b)
{
    if (!m_query || !m_query->isActive())
        return;
    switch (b) {
    case First: m_query->first(); break;
    case Prior: m_query->prior(); break;
    case Next: m_query->next(); break;
    case Last: m_query->last(); break;
    }
    updateButtons();
}

void DBNavigator::updateButtons()
{
    const bool active = m_query && m_query->isActive() && !m_query->isEmpty();
    const int row = active ? m_query->currentRow() : -1;
    // bof/eof as position: the first row is always bof, the last always eof.
    const bool back = active && !m_query->bof() && row > 0;
    const bool forward = active && !m_query->eof() && (row < m_query->rowsRead() - 1 || m_query->isReading());
    m_buttons[First]->setEnabled(back);
    m_buttons[Prior]->setEnabled(back);
    m_buttons[Next]->setEnabled(forward);
    m_buttons[Last]->setEnabled(forward);
}

} // namespace dbctrls
