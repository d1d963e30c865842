#include "accounts/statement.h"
#include "data/dm1.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "grid/print.h"
#include "grid/tablesource.h"
#include <QComboBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <numeric>

namespace accounts {
namespace {

QVector<ResultColumn> columns(Side side)
{
    const bool r = side == Side::Receivable;
    const auto money = [](const char *field, const char *title, bool sum) {
        return ResultColumn{.field = S(field), .type = S("MONEY_INT"),
                            .grid = {.title = S(title), .width = 90, .footer = sum ? grid::FooterKind::Sum : grid::FooterKind::None}};
    };
    return {
        {.field = S("日期"), .type = S("DATE_TEXT"), .grid = {.title = S("日期"), .width = 85}},
        {.field = S("摘要"), .type = S("TEXT"), .grid = {.title = S("摘要"), .width = 70, .footer = grid::FooterKind::Text, .footerText = S("合计")}},
        {.field = S("单号"), .type = S("TEXT"), .grid = {.title = r ? S("运输单号") : S("调度单号"), .width = 110}},
        {.field = S("明细"), .type = S("TEXT"), .grid = {.title = r ? S("箱号/货物") : S("车牌号"), .width = 110}},
        {.field = S("路线"), .type = S("TEXT"), .grid = {.title = S("起始地-目的地"), .width = 130}},
        money("应收", r ? "应收" : "应付", true),
        money("收款", r ? "收款" : "付款", true),
        money("减免", "减免", true),
        money("余额", "余额", false),
    };
}

// Everything the printed form shows besides the table.
struct Form {
    QString heading;
    QStringList info;        // party and period
    QString closing;         // closing balance in figures and in capitals
    QString capitals;
    QString partyLabel;      // "客户签章" / "承运单位签章"
    QString note;            // printed at, by
};

// Paints the statement: heading, party and period, the table with its
// footer (titles repeated on each page), the closing balance in figures and
// capitals, and the lines to sign; A4 portrait.
void paintForm(QPrinter *printer, const grid::TableSource &src, const Form &form)
{
    QPainter p(printer);
    if (!p.isActive())
        return;
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const double w = page.width(), h = page.height();
    const double dpi = printer->resolution();
    const auto font = [&](double pt, bool bold = false) {
        QFont f(S("AR PL UMing CN"));
        f.setPointSizeF(pt);
        f.setBold(bold);
        return f;
    };
    const int cols = src.columnCount();
    const auto title = [&](int c) { return src.title(c).replace(QLatin1Char('|'), QLatin1Char(' ')); };
    // Each column as wide as its widest text; a smaller type while the
    // table is wider than the page, then the room left shared out.
    QFont body = font(9);
    QVector<double> natural(cols);
    for (double pt = 9; pt >= 6; pt -= 0.5) {
        body = font(pt);
        const QFontMetricsF fm(body, printer);
        for (int c = 0; c < cols; ++c) {
            double widest = fm.horizontalAdvance(title(c));
            for (int r = 0; r < src.rowCount(); ++r)
                widest = std::max(widest, fm.horizontalAdvance(src.text(r, c)));
            widest = std::max(widest, fm.horizontalAdvance(src.footer(c)));
            natural[c] = widest + dpi / 12;
        }
        if (std::accumulate(natural.begin(), natural.end(), 0.0) <= w)
            break;
    }
    const QFont head = font(16, true);
    p.setFont(body);
    const double line = QFontMetricsF(body, printer).height() * 1.6;
    const double total = std::accumulate(natural.begin(), natural.end(), 0.0);
    QVector<double> x = {0};
    for (int c = 0; c < cols; ++c)
        x << x.last() + w * natural[c] / std::max(1.0, total);
    const auto numeric = [&](int c) {
        const db::Kind k = src.kind(c);
        return k == db::Kind::Money || k == db::Kind::Integer || k == db::Kind::Float;
    };
    const auto row = [&](double y, const std::function<QString(int)> &text, bool shade) {
        for (int c = 0; c < cols; ++c) {
            const QRectF cell(x[c], y, x[c + 1] - x[c], line);
            if (shade)
                p.fillRect(cell, QColor(235, 235, 235));
            p.drawRect(cell);
            const QString t = QFontMetricsF(body, printer).elidedText(text(c), Qt::ElideRight, cell.width() - dpi / 20);
            p.drawText(cell.adjusted(dpi / 40, 0, -dpi / 40, 0),
                       Qt::AlignVCenter | (numeric(c) ? Qt::AlignRight : Qt::AlignLeft), t);
        }
    };
    int pageNo = 1;
    double y = 0;
    const auto titles = [&] {
        row(y, title, true);
        y += line;
    };
    const auto pageNumber = [&] {
        p.setFont(body);
        p.drawText(QRectF(0, h - line, w, line), Qt::AlignRight | Qt::AlignVCenter, S("第%1页").arg(pageNo));
    };
    const auto newPage = [&] {
        pageNumber();
        printer->newPage();
        ++pageNo;
        y = 0;
        titles();
    };

    p.setFont(head);
    const double headLine = QFontMetricsF(head, printer).height() * 1.5;
    p.drawText(QRectF(0, 0, w, headLine), Qt::AlignCenter, form.heading);
    y = headLine;
    p.setFont(body);
    for (const QString &i : form.info) {
        p.drawText(QRectF(0, y, w, line), Qt::AlignLeft | Qt::AlignVCenter, i);
        y += line;
    }
    titles();
    const double bottom = h - line * 1.5;
    for (int r = 0; r < src.rowCount(); ++r) {
        if (y + line > bottom)
            newPage();
        row(y, [&](int c) { return src.text(r, c); }, false);
        y += line;
    }
    if (src.hasFooter()) {
        if (y + line > bottom)
            newPage();
        row(y, [&](int c) { return src.footer(c); }, true);
        y += line;
    }
    // The closing block stays in one piece.
    const double block = line * 7;
    if (y + block > bottom) {
        pageNumber();
        printer->newPage();
        ++pageNo;
        y = 0;
    }
    y += line / 2;
    // Left and right halves: the firm's side and the other side.
    const QVector<QPair<QString, QString>> closing = {
        {form.closing, {}},
        {form.capitals, {}},
        {},
        {S("经办人：____________________"), form.partyLabel + S("：____________________")},
        {S("日期：      年    月    日"), S("日期：      年    月    日")},
        {},
        {form.note, {}},
    };
    for (const auto &[left, right] : closing) {
        p.drawText(QRectF(0, y, w, line), Qt::AlignLeft | Qt::AlignVCenter, left);
        p.drawText(QRectF(w / 2, y, w / 2, line), Qt::AlignLeft | Qt::AlignVCenter, right);
        y += line;
    }
    pageNumber();
}

} // namespace

StatementWindow::StatementWindow(QWidget *owner, Side side)
    : AccountsWindow(owner, side == Side::Receivable ? S("account_guest") : S("account_trans"),
                     side == Side::Receivable ? S("客户对账单") : S("承运单位对账单"), columns(side)),
      m_side(side)
{
    const bool r = side == Side::Receivable;
    m_party = addCombo(S("DBComboBoxEh1"), partyLabel() + S("："),
                       r ? names(S("上游客户"), S("客户名称")) : names(S("下游运输商"), S("单位名称")), true, 200);
    // A statement is sent at a month's end: this month so far.
    const QDate today = QDate::currentDate();
    m_from = addDate(S("DateTimePicker1"), S("期间："), QDate(today.year(), today.month(), 1));
    m_to = addDate(S("DateTimePicker2"), S("至"), today);
    m_business = addCombo(S("ComboBox1"), S("业务："), businessItems(), false);
    finishParameters();
}

QString StatementWindow::partyLabel() const
{
    return m_side == Side::Receivable ? S("上游客户") : S("承运单位");
}

void StatementWindow::setParameters(const QString &party, const QDate &from, const QDate &to, Business business)
{
    m_party->setEditText(party);
    m_from->setDate(from);
    m_to->setDate(to);
    m_business->setCurrentIndex(int(business));
}

bool StatementWindow::parametersOk()
{
    if (m_party->currentText().trimmed().isEmpty()) {
        msg::hint(this, partyLabel() + S("不能为空,请重新输入!"));
        m_party->setFocus();
        return false;
    }
    return checkDates(m_from, m_to);
}

void StatementWindow::compute()
{
    const QString party = m_party->currentText().trimmed();
    m_statement = statement(*Dm1->ADO_system, m_side, business(), party, m_from->date(), m_to->date());
    const bool r = m_side == Side::Receivable;
    QVector<QVariantList> rows;
    for (const StatementLine &l : m_statement.lines) {
        QVariantList v(9);
        v[0] = l.date;
        switch (l.kind) {
        case StatementLine::Opening: v[1] = S("期初余额"); break;
        case StatementLine::Closing: v[1] = S("期末余额"); break;
        case StatementLine::Charge: v[1] = r ? S("应收运费") : S("应付运费"); v[5] = cash(l.amount); break;
        case StatementLine::Payment: v[1] = r ? S("收款") : S("付款"); v[6] = cash(l.amount); break;
        case StatementLine::Allowance: v[1] = S("减免"); v[7] = cash(l.amount); break;
        }
        if (l.kind != StatementLine::Opening && l.kind != StatementLine::Closing) {
            v[2] = l.number;
            v[3] = l.detail;
            v[4] = l.route;
        }
        v[8] = cash(l.balance);
        rows.append(v);
    }
    present(rows);
    m_shownParty = party;
    m_shownFrom = m_from->date();
    m_shownTo = m_to->date();
}

void StatementWindow::printResult()
{
    if (m_shownParty.isEmpty() || !query()->isActive()) {
        msg::hint(this, S("请先统计,再打印!"));
        return;
    }
    const QString company = companyName();
    const db::Money closing = m_statement.closing();
    const Form form{
        .heading = (company.isEmpty() ? QString() : company + S(" ")) + windowTitle(),
        .info = {partyLabel() + S("：") + m_shownParty,
                 S("对账期间：") + db::shortDate(m_shownFrom) + S(" 至 ") + db::shortDate(m_shownTo)},
        .closing = S("期末余额：") + closing.toString() + S(" 元"),
        .capitals = S("大写：人民币") + capitals(closing),
        .partyLabel = m_side == Side::Receivable ? S("客户签章") : S("承运单位签章"),
        .note = grid::PrintSettings::standard({}, velorin::operator_name).noteLine(),
    };
    const auto src = grid()->tableSource();
    QPrinter printer(QPrinter::HighResolution);
    grid::GridPrinter::setupPrinter(printer);
    printer.setDocName(form.heading);
    QPrintPreviewDialog dlg(&printer, this);
    dlg.setWindowTitle(S("打印预览"));
    connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&](QPrinter *p) { paintForm(p, *src, form); });
    // The list prints' preview step, which a test replaces to print to a file.
    const grid::PreviewRunner runner = grid::setPreviewRunner(nullptr);
    grid::setPreviewRunner(runner);
    if (runner)
        runner(dlg);
    else
        dlg.exec();
}

} // namespace accounts
