// What a clerk sees: Qt's texts in Chinese, values shown whole, one look per
// editor state, windows placed within the screen, Chinese sorted by pinyin.
#include "app/application.h"
#include "app/main.h"
#include "data/recordlist.h"
#include "data/session.h"
#include "db/collation.h"
#include "dbctrls/datalink.h"
#include "dbctrls/editors.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "grid/export.h"
#include "spine_driver.h"
#include <QCollator>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using data::RecordListWindow;

namespace {

// Opens a menu item's window over the demo and hands it to `act`.
void viaMenu(const char *item, const std::function<void(RecordListWindow *)> &act)
{
    TForm_main main;
    velorin::operator_name = S("李调度");
    velorin::startup_done = true;
    int shown = 0;
    ModalDriver driver([&](QDialog *d) {
        if (++shown > 1)
            return;   // a picker: the test looks at it from its caller
        auto *w = qobject_cast<RecordListWindow *>(d);
        QVERIFY(w);
        act(w);
    });
    main.menuAction(S(item))->trigger();
    QVERIFY(shown >= 1);
}

QStringList columnTexts(db::Query *q, const QString &field)
{
    QStringList out;
    for (int r = 0; r < q->recordCount(); ++r)
        out << q->displayText(r, q->fieldIndex(field));
    return out;
}

} // namespace

class TstLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void qtTextsAreChinese();
    void saveDialogShowsNameAndTypeWhole();
    void valuesShowWhole_data();
    void valuesShowWhole();
    void editorsLookAlikePerState();
    void windowsStayOnTheScreen();
    void pickersLeaveTheirEditorsInSight_data();
    void pickersLeaveTheirEditorsInSight();
    void chineseSortsByPinyin();
};

void TstLook::initTestCase()
{
    QVERIFY2(VelorinApplication::setupLanguage(), "qtbase_zh_CN.qm (qt6-translations-l10n) is not installed");
    VelorinApplication::setupIcons();
}

void TstLook::qtTextsAreChinese()
{
    QCOMPARE(QLocale().name(), S("zh_CN"));
    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    QVERIFY2(box.button(QDialogButtonBox::Cancel)->text().contains(S("取消")), qPrintable(box.button(QDialogButtonBox::Cancel)->text()));
    QVERIFY(box.button(QDialogButtonBox::Save)->text().contains(S("保存")));
    // An editor's context menu: cut, copy, paste.
    dbctrls::DBEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList actions;
    for (QAction *a : menu->actions())
        actions << a->text();
    for (const QString &want : {S("剪切"), S("复制"), S("粘贴")})
        QVERIFY2(actions.join(u' ').contains(want), qPrintable(actions.join(u' ')));
    // The file dialog's own labels.
    QFileDialog dlg(nullptr, S("另存为"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    auto *lookIn = dlg.findChild<QLabel *>(S("lookInLabel"));
    QVERIFY(lookIn);
    QVERIFY2(lookIn->text().contains(S("查找范围")), qPrintable(lookIn->text()));
}

void TstLook::saveDialogShowsNameAndTypeWhole()
{
    QFileDialog dlg(nullptr, S("另存为"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters(grid::exportFilters());
    dlg.selectNameFilter(grid::exportFilters().last());
    dlg.selectFile(S("集装箱调度单(执行完结)明细表"));
    grid::fitSaveDialog(dlg);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *name = dlg.findChild<QLineEdit *>(S("fileNameEdit"));
    auto *types = dlg.findChild<QComboBox *>(S("fileTypeCombo"));
    QVERIFY(name && types);
    QCOMPARE(name->text(), S("集装箱调度单(执行完结)明细表"));
    QVERIFY(name->width() > name->fontMetrics().horizontalAdvance(name->text()) + 8);
    for (const QString &f : grid::exportFilters())
        QVERIFY2(types->width() > types->fontMetrics().horizontalAdvance(f) + types->height(), qPrintable(f));
}

void TstLook::valuesShowWhole_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("customers") << S("N12");
    QTest::newRow("consignees") << S("N33");
    QTest::newRow("carriers") << S("N13");
    QTest::newRow("vehicles") << S("N48");
    QTest::newRow("container orders") << S("N24");
    QTest::newRow("container payment") << S("N34");
}

void TstLook::valuesShowWhole()
{
    QFETCH(QString, item);
    TestDb t(true);
    viaMenu(item.toLatin1().constData(), [&](RecordListWindow *w) {
        grid::DBGridEh *g = w->grid();
        db::Query *q = w->query();
        QVERIFY(q->recordCount() > 5);
        const QFontMetrics fm = g->fontMetrics();
        int checked = 0;
        for (int l : g->visibleColumns()) {
            const grid::Column &c = g->column(l);
            const db::Kind kind = q->fieldKind(q->fieldIndex(c.field));
            if (kind == db::Kind::Memo || c.field == S("备注") || c.field == S("调度单备注"))
                continue;   // remarks run on; the grid draws them on one line
            const int room = g->columnWidth(l) - 6;
            for (const QString &text : columnTexts(q, c.field))
                QVERIFY2(fm.horizontalAdvance(text) <= room,
                         qPrintable(QStringLiteral("%1 \"%2\" in %3 px").arg(c.field, text).arg(g->columnWidth(l))));
            QVERIFY2(fm.horizontalAdvance(c.title.section(u'|', -1)) <= room, qPrintable(c.title));
            ++checked;
        }
        QVERIFY(checked >= 8);
    });
}

void TstLook::editorsLookAlikePerState()
{
    TestDb t(true);
    viaMenu("N24", [&](RecordListWindow *w) {
        const QColor grey = w->palette().color(QPalette::Window), dark = w->palette().color(QPalette::Text);
        const QColor sky = dbctrls::computedColour();
        const struct { const char *name; bool computed; } editors[] = {
            {"DBComboBoxEh2", false}, {"DBEdit6", false},         {"DBDateTimeEditEh1", false},
            {"DBNumberEditEh1", false}, {"DBNumberEditEh2", false}, {"DBMemo1", false}, {"DBEdit4", true},
        };
        for (const bool editing : {false, true}) {
            if (editing)
                click(w, "bitbtn_edit");
            for (const auto &e : editors) {
                QWidget *ed = w->findChild<QWidget *>(S(e.name));
                QVERIFY2(ed, e.name);
                const QPalette p = ed->palette();
                const auto group = ed->isEnabled() ? QPalette::Active : QPalette::Disabled;
                const QString what = S(e.name) + (editing ? S(" editing") : S(" browsing"));
                if (editing && !e.computed) {
                    QVERIFY2(p.color(group, QPalette::Base) != grey, qPrintable(what));
                    continue;
                }
                // Read-only or disabled, one look: grey (computed: sky blue),
                // text as dark as when writable, no selection colour.
                QCOMPARE(p.color(group, QPalette::Base), e.computed ? sky : grey);
                QCOMPARE(p.color(group, QPalette::Text), dark);
                QCOMPARE(p.color(group, QPalette::Highlight), p.color(group, QPalette::Base));
            }
        }
        click(w, "bitbtn_cancel");
        // Money lines up right, in number boxes as in text boxes.
        for (const char *name : {"DBNumberEditEh2", "DBEdit6"}) {
            auto *e = w->findChild<QLineEdit *>(S(name));
            QCOMPARE(bool(e->alignment() & Qt::AlignRight), qstrcmp(name, "DBNumberEditEh2") == 0);
        }
    });
    viaMenu("N55", [&](RecordListWindow *w) {
        auto *amount = qobject_cast<QLineEdit *>(w->editorFor(S("应收运费")));
        QVERIFY(amount);
        QVERIFY(amount->alignment() & Qt::AlignRight);
    });
}

void TstLook::windowsStayOnTheScreen()
{
    TestDb t(true);
    viaMenu("N24", [&](RecordListWindow *w) {
        const QRect avail = w->screen()->availableGeometry();
        QVERIFY2(avail.contains(w->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())));
        QVERIFY(w->width() >= qMin(avail.width() - 20, 1000));   // a wide list takes the width it can have
        click(w, "bitbtn_add");
        QRect picker, caller = w->frameGeometry();
        ModalDriver pick([&](QDialog *d) {
            picker = d->frameGeometry();
            d->reject();
        });
        click(w, "choose_shr");
        QVERIFY(!picker.isEmpty());
        QVERIFY(avail.contains(picker));
        // Offset from its caller: the order being entered stays in sight.
        QVERIFY(picker.topLeft() != caller.topLeft());
        QWidget *panel = w->findChild<QWidget *>(S("Panel1"));
        QVERIFY2(picker.top() >= panel->mapToGlobal(QPoint(0, panel->height())).y(), "the caller's editors stay in sight");
        click(w, "bitbtn_cancel");
    });
}

void TstLook::pickersLeaveTheirEditorsInSight_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("clicks");   // per window: the list, then the editor it opens, if any
    QTest::addColumn<QStringList>("fields");   // the caller's editors the picker fills
    QTest::newRow("consignee of a container order") << "N24" << QStringList{S("bitbtn_add,choose_shr")}
                                                    << QStringList{S("收货人")};
    QTest::newRow("vehicle of a container dispatch") << "N45" << QStringList{S("bitbtn_edit,choose_shr")}
                                                     << QStringList{S("承运单位"), S("车牌号"), S("驾驶员")};
    QTest::newRow("vehicle of a goods dispatch") << "N46" << QStringList{S("bitbtn_edit"), S("bitbtn_edit,choose_car")}
                                                 << QStringList{S("承运单位"), S("车牌号"), S("驾驶员")};
}

void TstLook::pickersLeaveTheirEditorsInSight()
{
    QFETCH(QString, item);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, fields);
    TestDb t(true);
    MessageScript ms;
    TForm_main main;
    velorin::operator_name = S("李调度");
    velorin::startup_done = true;
    QList<QRect> editors;
    QRect picker, avail;
    int depth = 0;
    ModalDriver driver([&](QDialog *d) {
        if (!picker.isNull())
            return;
        if (d->inherits("TForm_carinfo") || d->inherits("TForm_deliveryinfo")) {
            picker = d->frameGeometry();
            avail = d->screen()->availableGeometry();
            d->reject();
            return;
        }
        // The caller: its editors of the picked fields, then the pick.
        for (QWidget *e : dbctrls::dataAwareChildren(d))
            if (auto *a = dynamic_cast<dbctrls::DataAware *>(e); a && e->isVisible() && fields.contains(a->dataField()))
                editors << QRect(e->mapToGlobal(QPoint(0, 0)), e->size());
        for (const QString &name : clicks.value(depth++).split(QLatin1Char(','))) {
            auto *b = d->findChild<QAbstractButton *>(name);
            QVERIFY2(b && b->isEnabled(), qPrintable(name));
            b->click();
        }
        if (auto *cancel = d->findChild<QAbstractButton *>(S("bitbtn_cancel")); cancel && cancel->isEnabled())
            cancel->click();
    });
    main.menuAction(item)->trigger();
    QVERIFY2(!picker.isNull(), "no picker opened");
    QVERIFY(!editors.isEmpty());
    QVERIFY(avail.contains(picker));
    for (const QRect &e : std::as_const(editors))
        QVERIFY2(!picker.intersects(e), qPrintable(QStringLiteral("picker %1,%2 %3x%4 over an editor at %5,%6")
                                                       .arg(picker.x()).arg(picker.y()).arg(picker.width())
                                                       .arg(picker.height()).arg(e.x()).arg(e.y())));
}

void TstLook::chineseSortsByPinyin()
{
    TestDb t(true);
    QStringList listed;
    viaMenu("N12", [&](RecordListWindow *w) { listed = columnTexts(w->query(), S("客户名称")); });
    QStringList byCollator = listed;
    QCollator zh(QLocale(QLocale::Chinese, QLocale::China));
    std::sort(byCollator.begin(), byCollator.end(), [&](const QString &a, const QString &b) { return zh.compare(a, b) < 0; });
    QCOMPARE(listed, byCollator);
    // 湖北 after 东风 and before 九州, as a clerk looks for them.
    const auto at = [&](const char *start) {
        for (int i = 0; i < listed.size(); ++i)
            if (listed[i].startsWith(S(start)))
                return i;
        return -1;
    };
    QVERIFY(at("东风") < at("湖北") && at("湖北") < at("九州") && at("九州") < at("麦当劳") && at("麦当劳") < at("美的") &&
            at("美的") < at("武汉") && at("武汉") < at("中百"));
    // Comparisons in SQL, case-insensitive equality, texts outside SQL, and
    // drop-downs filled from a query.
    QCOMPARE(t.scalar(S("select count(*) from 上游客户 where 客户名称 < '九州'")), QString::number(at("九州")));
    QCOMPARE(t.scalar(S("select count(*) from 上游客户 where 客户名称 = '麦当劳(MCDONALD''S)华中配送中心'")), S("1"));
    QVERIFY(db::compareText(S("ABC公司"), S("abc公司")) == 0 && db::compareText(S("ABC"), S("东风")) < 0 &&
            db::compareText(S("湖北"), S("九州")) < 0);
    viaMenu("N33", [&](RecordListWindow *w) {
        QStringList items = itemsOf(w, "DBComboBoxEh2");
        QCOMPARE(items.mid(0, listed.size()).size(), listed.size());
        QCOMPARE(items, listed);
    });
}

int main(int argc, char **argv)
{
    // Headless, a laptop's screen (1366×768) rather than the default square.
    QTemporaryDir dir;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        QFile f(dir.filePath(S("screen.json")));
        if (f.open(QIODevice::WriteOnly))
            f.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768}]})");
        f.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + f.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    TstLook test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_look.moc"
