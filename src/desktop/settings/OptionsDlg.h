#pragma once
// The options dialog "可选功能": the radio-wide settings of the settings block.
// OK stores them into the document's image; Cancel changes nothing.
#include <QDialog>

#include "image/RadioImage.h"
#include "settings/OptionsCodec.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

class COptionsDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the settings of `image`; OK writes into it.
    COptionsDlg(RadioImage& image, QWidget* parent = nullptr);

    // The values as the controls hold them.
    OptionsValues Values() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Load(const OptionsValues& values);

    RadioImage& m_image;
    QSpinBox* m_spinTimer;
    QLineEdit* m_editTimer;
    QComboBox* m_cbSquelch;
    QComboBox* m_cbVoxGain;
    QComboBox* m_cbVoxDelay;
    QComboBox* m_cbLanguage;
    QCheckBox* m_chkAlarm;
    QCheckBox* m_chkBattery;
    QCheckBox* m_chkScrambler;
    QCheckBox* m_chkVox;
    QCheckBox* m_chkVoxRx;
    QCheckBox* m_chkBot;
    QCheckBox* m_chkEot;
    QLineEdit* m_editAni;
    QLineEdit* m_editName;
};
