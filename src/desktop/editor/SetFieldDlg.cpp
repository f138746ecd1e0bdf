#include "editor/SetFieldDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "ui/DialogFrame.h"
#include "tones/ToneTable.h"
#include "editor/CellRules.h"
#include "image/ChannelTable.h"
#include "res/ResourceIds.h"
#include "res/QtText.h"

CSetFieldDlg::CSetFieldDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::number(ids::IDD_SET_FIELD));
    setWindowTitle(QTr(TextId::SetFieldTitle));
    ShowCloseButtonOnly(this);
    FitCaption(this);
    m_cbColumn = new QComboBox(this);
    m_cbColumn->setObjectName(QString::number(ids::IDC_FIELD_COLUMN));
    for (int c = col::kRxTone; c <= col::kBusy; ++c) m_cbColumn->addItem(QString::fromStdString(ColumnCaption(c)), c);
    m_cbValue = new QComboBox(this);
    m_cbValue->setObjectName(QString::number(ids::IDC_FIELD_VALUE));
    m_cbValue->setMaxVisibleItems(15);

    auto* form = new QFormLayout;
    form->addRow(QTr(TextId::SetFieldColumn), m_cbColumn);
    form->addRow(QTr(TextId::SetFieldValue), m_cbValue);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_cbColumn, &QComboBox::currentIndexChanged, this, &CSetFieldDlg::FillValues);
    FillValues();
}

void CSetFieldDlg::FillValues() {
    const int column = Column();
    const std::vector<std::string>& entries =
        IsToneColumn(column) ? ToneTable::Instance().Texts() : ListEntries(column);
    m_cbValue->clear();
    for (const std::string& entry : entries) m_cbValue->addItem(QString::fromStdString(entry));
}

int CSetFieldDlg::Column() const { return m_cbColumn->currentData().toInt(); }

std::string CSetFieldDlg::Value() const { return m_cbValue->currentText().toStdString(); }
