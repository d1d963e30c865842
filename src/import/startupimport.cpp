#include "import/startupimport.h"
#include "db/dberror.h"
#include "db/text.h"
#include "dbctrls/icons.h"
#include "dbctrls/messages.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace jetimport {
namespace {

QByteArray native(const QString &path) { return QFile::encodeName(path); }

QString inFolderOf(const QString &database, const QString &name)
{
    return QFileInfo(database).absoluteDir().filePath(name);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(native(a).constData(), &sa) == 0 && ::stat(native(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

} // namespace

QString keptName(const QString &database) { return inFolderOf(database, QStringLiteral("data.access.mdb")); }
QString mapName(const QString &database) { return inFolderOf(database, QStringLiteral("data.map.ini")); }

Report replaceWithImport(const QString &database, const Progress &progress)
{
    const QString kept = keptName(database);
    // A hand-over cut short after keeping the old file under its new name:
    // both names are the same file, and the new name is ours to take back.
    if (sameFile(kept, database))
        QFile::remove(kept);
    if (QFileInfo::exists(kept) || QFileInfo(kept).isSymLink())
        throw db::DbError(S("%1 已存在, 旧文件不能改名保留; 请先把它移走").arg(QDir::toNativeSeparators(kept)));
    std::optional<ImportMap> map;
    if (QFileInfo::exists(mapName(database)))
        map = ImportMap::read(mapName(database));
    const QString temp = database + QStringLiteral(".import");
    Report r = build(database, temp, map ? &*map : nullptr, progress);
    // Named as they are after the hand-over.
    r.source = kept;
    r.target = QFileInfo(database).absoluteFilePath();
    // The old file gets its second name first (a link: data.mdb stays as
    // it is), then one rename puts the new file in its place.
    if (::link(native(database).constData(), native(kept).constData()) != 0) {
        const QString why = systemError();
        QFile::remove(temp);
        throw db::DbError(S("无法把旧文件保留为 %1: %2").arg(QDir::toNativeSeparators(kept), why));
    }
    if (std::rename(native(temp).constData(), native(database).constData()) != 0) {
        const QString why = systemError();
        QFile::remove(kept);
        QFile::remove(temp);
        throw db::DbError(S("无法把新数据库放到 %1: %2").arg(QDir::toNativeSeparators(database), why));
    }
    return r;
}

StartupImport offerStartupImport(QWidget *parent, const QString &database)
{
    StartupImport result;
    if (!isAccessFile(database))
        return result;
    if (!msg::confirm(parent, S("data.mdb 是旧版程序的 Access 数据库文件，是否将其数据导入新数据库？原文件将保留为 data.access.mdb。")))
        return result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore { ~Restore() { QApplication::restoreOverrideCursor(); } } restore;
    QProgressDialog progress(S("正在导入旧版程序的数据……"), QString(), 0, 1, parent);
    progress.setWindowTitle(S("导入"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    try {
        result.report = replaceWithImport(database, [&](qint64 done, qint64 total) {
            // Row counts of an office's file fit an int many times over.
            progress.setMaximum(int(std::max<qint64>(total, 1)));
            progress.setValue(int(std::min(done, total)));
            QCoreApplication::processEvents();
        });
    } catch (const db::DbError &e) {
        result.failed = true;
        result.error = S("data.mdb 没有导入，文件未作任何改动：\n%1").arg(e.message());
    }
    return result;
}

ImportReportWindow::ImportReportWindow(QWidget *parent, const Report &report) : QDialog(parent), m_html(report.html())
{
    setObjectName(QStringLiteral("ImportReportWindow"));
    setWindowTitle(S("旧版程序数据导入报告"));
    auto *text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("Memo1"));
    text->setHtml(m_html);
    auto *print = new QPushButton(S("打印"), this);
    print->setObjectName(QStringLiteral("bitbtn_print"));
    print->setIcon(dbctrls::themeIcon({"document-print"}));
    auto *close = new QPushButton(S("返回"), this);
    close->setObjectName(QStringLiteral("bitbtn_close"));
    close->setIcon(dbctrls::themeIcon({"window-close"}));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    resize(900, 600);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(print, &QPushButton::clicked, this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog preview(&printer, this);
        preview.setWindowTitle(S("打印预览"));
        connect(&preview, &QPrintPreviewDialog::paintRequested, this, &ImportReportWindow::print);
        preview.exec();
    });
}

void ImportReportWindow::print(QPrinter *printer) const
{
    QTextDocument doc;
    doc.setDefaultFont(font());
    doc.setHtml(m_html);
    doc.print(printer);
}

} // namespace jetimport
