#pragma once
// "批量设置": one column of the channel table (signalling, lists) and one
// value from that column's list, for every selected channel in use.
#include <QDialog>
#include <string>

class QComboBox;

class CSetFieldDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSetFieldDlg(QWidget* parent = nullptr);

    // The chosen column (3-10) and value.
    int Column() const;
    std::string Value() const;

private:
    void FillValues();

    QComboBox* m_cbColumn;
    QComboBox* m_cbValue;
};
