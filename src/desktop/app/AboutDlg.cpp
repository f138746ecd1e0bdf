#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogFrame.h"
#include "res/Icons.h"
#include "res/ResourceIds.h"
#include "res/QtText.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::number(ids::IDD_ABOUTBOX));
    setWindowTitle(QTr(TextId::AboutTitle));
    ShowCloseButtonOnly(this);
    FitCaption(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(48, 48));
    auto* label = new QLabel(QTr(TextId::AboutVersion), this);
    auto* ok = new QPushButton(QTr(TextId::ButtonOk), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(label, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}
