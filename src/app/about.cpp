#include "app/about.h"
#include "app/pictures.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tform_About::Tform_About(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("form_About"));
    setWindowTitle(QStringLiteral("关于本系统"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 128, 128));   // teal
    pal.setColor(QPalette::WindowText, Qt::white);
    pal.setColor(QPalette::ButtonText, Qt::white);
    setPalette(pal);

    auto *picture = new QLabel(this);
    picture->setPixmap(app::lorryPicture(QSize(120, 120)));
    auto *product = new QLabel(QStringLiteral("Velorin(V3.0)"), this);
    product->setObjectName(QStringLiteral("Label_product"));
    QFont big = product->font();
    big.setPointSize(16);
    big.setBold(true);
    product->setFont(big);
    auto *updated = new QLabel(QStringLiteral("更新时间  2005年8月"), this);
    updated->setObjectName(QStringLiteral("Label_updated"));
    bitbtn_close = new QPushButton(QStringLiteral("返回"), this);
    bitbtn_close->setObjectName(QStringLiteral("bitbtn_close"));
    bitbtn_close->setFlat(true);
    bitbtn_close->setCursor(Qt::PointingHandCursor);
    connect(bitbtn_close, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->addStretch();
    text->addWidget(product);
    text->addSpacing(12);
    text->addWidget(updated);
    text->addStretch();
    text->addWidget(bitbtn_close, 0, Qt::AlignRight);
    auto *root = new QHBoxLayout(this);
    root->addWidget(picture);
    root->addSpacing(16);
    root->addLayout(text);
    root->setSizeConstraint(QLayout::SetFixedSize);
}
