#include "app/main.h"
#include "app/dbhealth.h"
#include "data/dm1.h"
#include "app/enter.h"
#include "app/menutable.h"
#include "app/pictures.h"
#include "app/windowregistry.h"
#include "data/modal.h"
#include "data/dailybackup.h"
#include "data/recordlist.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "dbctrls/icons.h"
#include "dbctrls/messages.h"
#include "import/startupimport.h"
#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include "db/database.h"
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

TForm_main *Form_main = nullptr;

// The built-in pictures live in the static core library: register them explicitly.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace app {
int bannerNextLeft(int left, int width, int panelWidth)
{
    // "<=" rather than "==": a banner shortened while far out on the left
    // would otherwise never come back.
    return left <= -width ? panelWidth : left - 1;
}
} // namespace app

namespace {

db::Query *sharedQuery(const QString &name)
{
    db::Query *q = Dm1 ? Dm1->query(name) : nullptr;
    if (!q)
        throw db::DbError(QStringLiteral("没有共享查询 %1").arg(name));
    return q;
}

} // namespace

TForm_main::TForm_main(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form_main"));
    setWindowTitle(QStringLiteral("Velorin"));
    setFont(QFont(QStringLiteral("AR PL UMing CN"), 9));
    if (!Form_main)
        Form_main = this;
    initResources();
    app::registerWindows();

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);
    QWidget *topPanel = buildTopPanel();
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumSize(1, 1);
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    column->addWidget(topPanel);
    column->addWidget(Image1, 1);
    buildMenu();
    buildStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(60);
    connect(Timer1, &QTimer::timeout, this, &TForm_main::Timer1Timer);
    Timer1->start();

    FormCreate();
}

TForm_main::~TForm_main()
{
    if (Form_main == this)
        Form_main = nullptr;
}

QWidget *TForm_main::buildTopPanel()
{
    auto *panel = new QWidget(centralWidget());
    panel->setObjectName(QStringLiteral("Panel1"));
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 5, 4, 5);
    row->setSpacing(2);
    int n = 0, buttonHeight = 0;
    for (const auto &def : app::toolButtons()) {
        auto *b = new QToolButton(panel);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(++n));
        b->setText(def.caption);
        b->setIcon(dbctrls::themeIcon(def.icons, QIcon(app::badgeGlyph(def.glyph, QColor::fromRgb(def.color), 22))));
        b->setIconSize(QSize(22, 22));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        // As tall as the icon and a whole line of the caption need in the
        // font in use: a fixed height cut the tops of the characters off.
        const QSize hint = b->sizeHint();
        b->setFixedSize(qMax(65, hint.width()), hint.height());
        buttonHeight = qMax(buttonHeight, hint.height());
        b->setAutoRaise(true);
        b->setCursor(Qt::PointingHandCursor);
        const QString item = def.item;
        connect(b, &QToolButton::clicked, this, [this, item] {
            if (QAction *a = menuAction(item))
                a->trigger();
        });
        row->addWidget(b);
    }
    panel->setFixedHeight(buttonHeight + 10);
    Panel_banner = new QWidget(panel);
    Panel_banner->setObjectName(QStringLiteral("Panel_banner"));
    Panel_banner->setMinimumWidth(50);
    row->addWidget(Panel_banner, 1);
    Label1 = new QLabel(QStringLiteral("好人一生平安"), Panel_banner);   // no layout: it moves freely, clipped by its panel
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f(QStringLiteral("AR PL UMing CN"));
    f.setPixelSize(15);
    f.setBold(true);
    Label1->setFont(f);
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    Label1->setPalette(pal);
    Label1->adjustSize();
    Label1->move(0, qMax(0, (buttonHeight - Label1->height()) / 2));
    return panel;
}

void TForm_main::buildMenu()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    for (const auto &def : app::menuTable()) {
        QMenu *menu = menuBar()->addMenu(def.caption);
        for (const auto &item : def.items) {
            if (item.kind == app::MenuItem::Separator || item.kind == app::MenuItem::HiddenSeparator) {
                menu->addSeparator()->setVisible(item.kind == app::MenuItem::Separator);
                continue;
            }
            QAction *a = menu->addAction(item.caption);
            a->setObjectName(item.name);
            const app::MenuItem *p = &item;   // the table lives for the whole run
            connect(a, &QAction::triggered, this, [this, p] { runMenuItem(*p); });
        }
    }
}

void TForm_main::buildStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    // The panels share the window's width in the proportions of their design
    // widths, each at least that wide and never narrower than its text.
    const int widths[] = {120, 100, 300, 50};
    for (int i = 0; i < 4; ++i) {
        auto *l = new QLabel(StatusBar1);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setMinimumWidth(widths[i]);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        if (i != 2)
            l->setAlignment(Qt::AlignCenter);
        StatusBar1->addWidget(l, widths[i]);
        m_panels << l;
    }
    m_panels[3]->setText(QStringLiteral("技术支持"));
    // On a server several workstations share, which one is open (host and
    // name, never the password); the file needs no such word.
    auto *where = new QLabel(StatusBar1);
    where->setObjectName(QStringLiteral("StatusPanelDatabase"));
    where->setFrameShape(QFrame::Panel);
    where->setFrameShadow(QFrame::Sunken);
    where->hide();
    StatusBar1->addPermanentWidget(where);
    m_panels[3]->setMinimumWidth(qMax(widths[3], m_panels[3]->sizeHint().width() + 8));
}

QString TForm_main::statusPanelText(int panel) const
{
    return m_panels.value(panel) ? m_panels[panel]->text() : QString();
}

void TForm_main::setStatusPanelText(int panel, const QString &text)
{
    if (m_panels.value(panel))
        m_panels[panel]->setText(text);
}

QAction *TForm_main::menuAction(const QString &name) const
{
    return name.isEmpty() ? nullptr : menuBar()->findChild<QAction *>(name);
}

void TForm_main::FormCreate()
{
    velorin::startup_done = false;
    QPixmap picture;
    if (!QFile::exists(QStringLiteral("system.jpg")) || !picture.load(QStringLiteral("system.jpg")))
        picture.load(QStringLiteral(":/resources/background.png"));
    Image1->setPixmap(picture);
}

void TForm_main::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    // Start-up runs from the event loop, not inside the show call.
    if (!m_activated)
        QMetaObject::invokeMethod(this, &TForm_main::FormActivate, Qt::QueuedConnection);
}

void TForm_main::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !m_activated)
        QMetaObject::invokeMethod(this, &TForm_main::FormActivate, Qt::QueuedConnection);
}

void TForm_main::setBanner(const QString &text)
{
    Label1->setText(text);
    Label1->adjustSize();
}

void TForm_main::setOperatorPanel()
{
    setStatusPanelText(0, QStringLiteral("操作员：") + velorin::operator_name);
}

void TForm_main::endWithoutDatabase(const db::DbError &e)
{
    // The fixed text, then what is wrong, so the user (or whoever helps)
    // knows which file and why: missing, not a database, lacking tables.
    msg::plain(this, QStringLiteral("系统数据库没有连接，请与软件公司联系！\n\n%1").arg(e.message()));
    m_exitCode = 1;
    close();
}

void TForm_main::FormActivate()
{
    if (m_activated || m_ended)
        return;
    m_activated = true;
    TDm1 *dm = Dm1;
    // The old program's Access file, copied in by the clerk: offered for
    // import into a new data.mdb before anything opens it.
    const bool server = db::isServerUrl(dm->ADO_system->databaseName());
    const jetimport::StartupImport imported =
        server ? jetimport::StartupImport{} : jetimport::offerStartupImport(this, dm->ADO_system->databaseName());
    if (imported.failed) {
        endWithoutDatabase(db::DbError(imported.error));
        return;
    }
    try {
        dm->ADO_system->open();
    } catch (const db::DbError &e) {
        endWithoutDatabase(e);
        return;
    }
    if (dm->ADO_system->isServer()) {
        auto *where = StatusBar1->findChild<QLabel *>(QStringLiteral("StatusPanelDatabase"));
        where->setText(QStringLiteral("数据库: ") + dm->ADO_system->filePath());
        where->show();
    }
    app::reportDatabaseHealth(this, *dm->ADO_system);
    bool remind = false;
    try {
        db::Query *q = dm->q_gsxx;
        q->reopenWith({QStringLiteral("select * from 公司信息")});
        setBanner(q->field(QStringLiteral("动态文字")).asString());
        setWindowTitle(q->field(QStringLiteral("系统标题")).asString());
        velorin::accounting_date = q->field(QStringLiteral("核算时间")).asDateTime();
        remind = q->field(QStringLiteral("自动提醒")).asBoolean();
        q->close();

        setStatusPanelText(1, db::shortDate(QDate::currentDate()));

        dm->q_qxb->reopenWith({QStringLiteral("select * from 权限表 order by 姓名")});
        {
            std::unique_ptr<TForm_Enter> login(new TForm_Enter(this));
            data::showModal(login.get());
        }
        if (m_ended)   // "终止" before the first login ended the program
            return;
        dm->q_qxb->close();
    } catch (const db::DbError &e) {
        // Without the company record or the operator table nobody can log in:
        // the program must not stay open without a login.
        msg::dbError(this, e.message());
        m_exitCode = 1;
        close();
        return;
    }
    velorin::startup_done = true;
    setOperatorPanel();
    setStatusPanelText(2, data::dailyBackup(dm->ADO_system->address()));
    if (imported.report) {
        jetimport::ImportReportWindow report(this, *imported.report);
        data::showModal(&report);
    }
    if (remind)
        autoReminder();
}

void TForm_main::autoReminder()
{
    const QString cls = QStringLiteral("TForm_txgn");
    // The alarms are computed into 通用: a read-only file, of which the user
    // has just been told, cannot take them.
    if (!app::WindowRegistry::has(cls) || Dm1->ADO_system->isReadOnly())
        return;
    db::Query *list = Dm1->q_tongyong;
    try {
        std::unique_ptr<QDialog> w(app::WindowRegistry::create(cls, this));
        if (w) {
            if (auto *remindButton = w->findChild<QAbstractButton *>(QStringLiteral("bitbtn_edit")))
                remindButton->click();
            if (list->isActive() && !list->isEmpty())
                data::showModal(w.get());
        }
    } catch (const db::DbError &e) {
        msg::dbError(this, e.message());
    }
    list->close();
}

void TForm_main::runMenuItem(const app::MenuItem &item)
{
    switch (item.kind) {
    case app::MenuItem::Quit:
        close();
        return;
    case app::MenuItem::Help:
        msg::hint(this, QStringLiteral("该系统操作非常简单，在窗口中已经有提示！"));
        return;
    case app::MenuItem::Open:
        break;
    default:
        return;
    }
    try {
        openItemWindow(item);
    } catch (const db::DbError &e) {
        msg::dbError(this, e.message());
    }
}

void TForm_main::openItemWindow(const app::MenuItem &item)
{
    // Until its module registers it, an item's window is not part of the program.
    std::unique_ptr<QDialog> w(app::WindowRegistry::create(item.windowClass, this));
    if (!w)
        return;
    // The data folder is the one the database was opened in, whatever a file
    // dialog does to the working directory meanwhile.
    const QString dataFolder = Dm1->ADO_system->isServer() ? QDir::currentPath()
                                                           : QFileInfo(Dm1->ADO_system->filePath()).absolutePath();
    // A window that starts by writing (a summary empties 通用) cannot work on
    // a read-only file: say so before anything half runs.
    const bool writes = std::any_of(item.setup.begin(), item.setup.end(), [](const app::QueryStep &s) { return s.command; });
    if (writes && data::refuseReadOnly(this, Dm1->ADO_system))
        return;
    if (item.reconnect)
        Dm1->ADO_system->close();
    for (const auto &step : item.setup) {
        db::Query *q = sharedQuery(step.query);
        q->close();
        q->setSql(step.sqlLines());
        if (step.command)
            q->execSql();
        else
            q->open();
    }
    for (const auto &pick : item.picks) {
        db::Query *q = sharedQuery(pick.query);
        q->reopenWith(pick.lines);
        const int col = q->field(pick.column).index();
        QList<QComboBox *> combos;
        for (const auto &name : pick.targets) {
            if (auto *c = w->findChild<QComboBox *>(name)) {
                c->clear();
                combos << c;
            }
        }
        for (int row = 0; row < q->recordCount(); ++row)
            for (auto *c : combos)
                c->addItem(q->displayText(row, col));
        q->close();
    }
    data::showModal(w.get());
    w.reset();
    if (item.reconnect) {
        QDir::setCurrent(dataFolder);
        try {
            Dm1->ADO_system->open();
        } catch (const db::DbError &e) {
            // Never run on without a database: end as the start-up does.
            endWithoutDatabase(e);
            return;
        }
    }
    if (item.bannerAfter && Dm1->q_gsxx->isActive())
        setBanner(Dm1->q_gsxx->field(QStringLiteral("动态文字")).asString());
    for (const auto &name : item.closeAfter)
        sharedQuery(name)->close();
    if (item.operatorPanelAfter)
        setOperatorPanel();
}

void TForm_main::Timer1Timer()
{
    Label1->move(app::bannerNextLeft(Label1->x(), Label1->width(), Panel_banner->width()), Label1->y());
}

void TForm_main::FormClose()
{
    if (!Dm1)
        return;
    Dm1->q_qxb->close();
    Dm1->ADO_system->close();
}

void TForm_main::closeEvent(QCloseEvent *e)
{
    if (!m_ended) {
        m_ended = true;
        Timer1->stop();
        FormClose();
    }
    e->accept();
}
