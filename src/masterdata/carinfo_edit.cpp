#include "masterdata/carinfo_edit.h"
#include "db/text.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "masterdata/xstp.h"
#include "data/recordlist.h"
#include "data/savestep.h"
#include "db/quote.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/messages.h"
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Label + editor pairs on a page, `perRow` pairs a row.
class PageGrid {
public:
    PageGrid(QWidget *page, int perRow) : m_g(new QGridLayout(page)), m_perRow(perRow)
    {
        m_g->setHorizontalSpacing(6);
        m_g->setVerticalSpacing(6);
        for (int c = 0; c < perRow; ++c)
            m_g->setColumnStretch(c * 2 + 1, 1);
    }
    void add(const QString &label, QWidget *w, int span = 1)
    {
        if (m_col + span > m_perRow)
            newRow();
        auto *l = new QLabel(label, w->parentWidget());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(w);
        m_g->addWidget(l, m_row, m_col * 2);
        m_g->addWidget(w, m_row, m_col * 2 + 1, 1, span * 2 - 1);
        m_col += span;
        if (m_col >= m_perRow)
            newRow();
    }
    void addWide(QWidget *w)
    {
        if (m_col)
            newRow();
        m_g->addWidget(w, m_row, 0, 1, m_perRow * 2);
        newRow();
    }
    void finish() { m_g->setRowStretch(m_row, 1); }
    QGridLayout *layout() const { return m_g; }

private:
    void newRow() { ++m_row; m_col = 0; }
    QGridLayout *m_g;
    int m_perRow, m_row = 0, m_col = 0;
};

template <class W>
W *bound(QWidget *parent, db::Query *q, const char *field, const char *name, bool chinese = false)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromUtf8(name));
    w->setDataSource(q, QString::fromUtf8(field));
    w->setChineseText(chinese);
    return w;
}

QPushButton *toolButton(QWidget *parent, const char *name, const char *caption)
{
    auto *b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    b->setMinimumWidth(72);
    return b;
}
} // namespace

QString vehiclePicturePath(const QString &fileName)
{
    const QDir dir(QDir::current().filePath(QStringLiteral("jpg")));
    // Joined by hand: an empty name still names the folder with its separator.
    const QString exact = dir.path() + QLatin1Char('/') + fileName;
    if (fileName.isEmpty() || QFileInfo(exact).isFile())
        return exact;
    const QStringList hits = dir.entryList({fileName}, QDir::Files);   // name filters ignore case
    return hits.isEmpty() ? exact : dir.filePath(hits.first());
}

TForm_carinfo_edit::TForm_carinfo_edit(QWidget *owner) : QDialog(owner), m_q(Dm1->q_carinfo)
{
    setObjectName(S("Form_carinfo_edit"));
    setWindowTitle(S("承运车辆资料编辑"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(S("PageControl1"));

    // 基本资料
    auto *p1 = new QWidget;
    p1->setObjectName(S("TabSheet1"));
    PageGrid g1(p1, 2);
    m_owner = bound<dbctrls::DBComboBox>(p1, m_q, "所属单位", "DBComboBox6", true);
    m_owner->setMaxVisibleItems(15);
    m_owner->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_plate = bound<dbctrls::DBEdit>(p1, m_q, "车牌号", "DBEdit2", true);
    auto *name = bound<dbctrls::DBEdit>(p1, m_q, "车辆名称", "DBEdit3", true);
    auto *phone = bound<dbctrls::DBEdit>(p1, m_q, "联系电话", "DBEdit4");
    auto *engine = bound<dbctrls::DBEdit>(p1, m_q, "发动机号", "DBEdit5");
    auto *type = bound<dbctrls::DBEdit>(p1, m_q, "车型", "DBEdit8", true);
    auto *driver = bound<dbctrls::DBEdit>(p1, m_q, "驾驶员", "DBEdit1", true);
    auto *holder = bound<dbctrls::DBEdit>(p1, m_q, "车主姓名", "DBEdit7", true);
    auto *memo = bound<dbctrls::DBMemo>(p1, m_q, "备注", "DBMemo1", true);
    memo->setFixedHeight(72);
    m_kind = bound<dbctrls::DBRadioGroup>(p1, m_q, "类别", "DBRadioGroup1");
    m_kind->setTitle(S("车辆类别"));
    m_kind->setItems({S("自有车辆"), S("社会车辆")});
    m_kind->setColumns(2);
    g1.add(S("所属单位："), m_owner, 2);
    g1.add(S("车牌号："), m_plate);
    g1.add(S("车辆名称："), name);
    g1.add(S("车主联系电话："), phone);
    g1.add(S("发动机号："), engine);
    g1.add(S("车型："), type);
    g1.add(S("驾驶员："), driver);
    g1.add(S("车主姓名："), holder);
    g1.addWide(m_kind);
    g1.add(S("备注信息："), memo, 2);
    g1.finish();
    m_pages->addTab(p1, S("基本资料"));

    // 其他资料
    auto *p2 = new QWidget;
    p2->setObjectName(S("TabSheet2"));
    PageGrid g2(p2, 2);
    const char *dates[][3] = {
        {"保险购买时间", "DBDateTimeEditEh1", "保险费购买日期："}, {"保险截止时间", "DBDateTimeEditEh2", "截止日期："},
        {"养路费购买时间", "DBDateTimeEditEh3", "养路费购买日期："}, {"养路费截止时间", "DBDateTimeEditEh4", "截止日期："},
        {"年审时间", "DBDateTimeEditEh5", "年审办理日期："}, {"年审截止时间", "DBDateTimeEditEh6", "截止日期："},
        {"车船税购买时间", "DBDateTimeEditEh7", "车船税购买日期："}, {"车船税截止时间", "DBDateTimeEditEh8", "截止日期："},
    };
    QList<QWidget *> ring2;
    for (const auto &d : dates) {
        auto *w = bound<dbctrls::DBDateEdit>(p2, m_q, d[0], d[1]);
        g2.add(S(d[2]), w);
        ring2 << w;
    }
    for (const auto &[field, objName, label] : {std::tuple{"二保里程", "DBNumberEditEh1", "本次二保里程："},
                                               std::tuple{"下次二保里程", "DBNumberEditEh2", "下次二保里程："}}) {
        auto *w = bound<dbctrls::DBNumberEdit>(p2, m_q, field, objName);
        w->setMode(dbctrls::DBNumberEdit::Whole);
        g2.add(S(label), w);
        ring2 << w;
    }
    g2.finish();
    m_pages->addTab(p2, S("其他资料"));

    // 车辆照片
    auto *p3 = new QWidget;
    p3->setObjectName(S("TabSheet3"));
    auto *v3 = new QVBoxLayout(p3);
    auto *fileRow = new QHBoxLayout;
    auto *file = bound<dbctrls::DBEdit>(p3, m_q, "汽车照片", "DBEdit6");
    auto *make = toolButton(p3, "bitbtn_make", "生成");
    fileRow->addWidget(new QLabel(S("车辆图形文件："), p3));
    fileRow->addWidget(file, 1);
    fileRow->addWidget(make);
    v3->addLayout(fileRow);
    m_picture = new PictureBox(p3);
    m_picture->setObjectName(S("Image1"));
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_picture->setMinimumSize(420, 240);
    m_picture->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *full = new QAction(S("全屏显示"), m_picture);
    full->setObjectName(S("N1"));
    m_picture->addAction(full);
    v3->addWidget(m_picture, 1);
    m_pages->addTab(p3, S("车辆照片"));
    connect(make, &QPushButton::clicked, this, &TForm_carinfo_edit::showPicture);
    connect(full, &QAction::triggered, this, &TForm_carinfo_edit::fullScreen);
    connect(m_picture, &PictureBox::doubleClicked, this, [this] { m_picture->setStretch(!m_picture->stretch()); });

    auto *stopped = bound<dbctrls::DBCheckBox>(this, m_q, "停用", "DBCheckBoxEh1");
    stopped->setText(S("停止运输"));

    m_add = toolButton(this, "bitbtn_add", "增加");
    m_save = toolButton(this, "bitbtn_save", "保存");
    m_cancel = toolButton(this, "bitbtn_delete", "取消");
    m_close = toolButton(this, "bitbtn_close", "返回");
    connect(m_add, &QPushButton::clicked, this, &TForm_carinfo_edit::add);
    connect(m_save, &QPushButton::clicked, this, &TForm_carinfo_edit::save);
    connect(m_cancel, &QPushButton::clicked, this, &TForm_carinfo_edit::cancelChange);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(stopped);
    bottom->addStretch(1);
    for (auto *b : {m_add, m_save, m_cancel, m_close})
        bottom->addWidget(b);
    auto *v = new QVBoxLayout(this);
    v->addWidget(m_pages, 1);
    v->addLayout(bottom);

    // The editor always edits: typing into a browsing row starts its change.
    dbctrls::setEditable(this, true);
    auto always = [] { return true; };
    new dbctrls::EnterRing({m_owner, m_plate, name, phone, engine, type, driver, holder, memo}, always, {}, this);
    new dbctrls::EnterRing(ring2, always, {}, this);
    resize(640, 440);
}

void TForm_carinfo_edit::setOwnerList(const QStringList &names)
{
    m_owner->clear();
    m_owner->addItems(names);
}

void TForm_carinfo_edit::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_activated)
        return;
    m_activated = true;
    // The fields can be changed at once.
    if (m_q->isActive())
        m_q->edit();
    dbctrls::applyInputMethod(this);
}

void TForm_carinfo_edit::setAdding(bool adding)
{
    m_add->setEnabled(!adding);
    m_close->setEnabled(!adding);
}

void TForm_carinfo_edit::add()
{
    if (!m_q->isActive())
        return;
    m_q->cancel();
    m_q->append();
    setAdding(true);
    m_pages->setCurrentIndex(0);
    m_owner->setFocus();
}

void TForm_carinfo_edit::cancelChange()
{
    if (m_q->isActive())
        m_q->cancel();
    setAdding(false);
}

bool TForm_carinfo_edit::info(const QString &message, QWidget *focus)
{
    msg::info(this, message);
    if (focus)
        focus->setFocus();
    return false;
}

bool TForm_carinfo_edit::checks()
{
    m_pages->setCurrentIndex(0);
    if (!m_q->isModified())
        return false;
    const QString owner = m_q->field(S("所属单位")).asString();
    const QString plate = m_q->field(S("车牌号")).asString();
    if (owner.trimmed().isEmpty())
        return info(S("所属单位不能为空,请重新输入!"), m_owner);
    if (plate.trimmed().isEmpty())
        return info(S("车牌号不能为空,请重新输入!"), m_plate);
    if (m_q->field(S("类别")).asString().isEmpty())
        return info(S("车辆类别不能为空,请重新输入!"), m_kind);
    if (data::isDuplicate(m_q, Dm1->q_search,
                          {S("select * from 承运车辆 "), S("where (车牌号='") + db::q(plate) + S("')")}, {S("车牌号")}))
        return info(S("车牌号不能重复,请重新输入!"), m_plate);
    Dm1->q_search->reopenWith({S("select * from 下游运输商 "), S("where (单位名称='") + db::q(owner) + S("')")});
    const bool carrier = !Dm1->q_search->isEmpty();
    Dm1->q_search->close();
    if (!carrier)
        return info(S("所属单位名称应该在下游运输商中,请重新选择!"), m_owner);
    return true;
}

void TForm_carinfo_edit::save()
{
    if (!m_q->isActive())
        return;
    const data::SaveOutcome outcome = data::saveRow(
        this, {.query = m_q,
               .checks = [this] { return checks(); },
               .beforePost = [this] { m_q->field(S("汽车照片")).setAsString(m_q->field(S("车牌号")).asString() + S(".JPG")); }});
    if (outcome != data::SaveOutcome::Stopped)
        setAdding(false);
}

QPixmap TForm_carinfo_edit::loadPicture()
{
    m_q->updateRecord();   // a file name typed just now counts
    const QString name = m_q->isActive() && !m_q->isEmpty() ? m_q->field(S("汽车照片")).asString() : QString();
    const QString path = vehiclePicturePath(name);
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile()) {
        msg::hint(this, shown + S("图形文件不存在!"));
        return {};
    }
    const QPixmap p(path);
    if (p.isNull())
        msg::hint(this, shown + S("不是可以显示的图形文件!"));
    return p;
}

void TForm_carinfo_edit::showPicture()
{
    const QPixmap p = loadPicture();
    if (p.isNull())
        m_picture->clearPicture();
    else
        m_picture->setPicture(p);
}

void TForm_carinfo_edit::fullScreen()
{
    const QPixmap p = loadPicture();
    if (p.isNull())
        return;
    TForm_xstp viewer(this);
    viewer.Image1->setPicture(p);
    data::showModal(&viewer);
}

void TForm_carinfo_edit::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape)
        return;   // 返回 is the way out
    QDialog::keyPressEvent(e);
}

void TForm_carinfo_edit::closeEvent(QCloseEvent *e)
{
    if (!m_close->isEnabled()) {
        e->ignore();   // a new row is pending: save or cancel it first
        return;
    }
    QDialog::closeEvent(e);
}

void TForm_carinfo_edit::done(int r)
{
    if (m_q->isActive())
        m_q->cancel();
    QDialog::done(r);
}
