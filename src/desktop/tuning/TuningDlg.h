#pragma once
// The online tuning dialog "OstrelTZ在线调试": three test-frequency sets and
// four tuning items, sent live to the radio by "开始". The document is never
// touched.
#include <QDialog>
#include <QPointer>
#include <QString>

#include "link/EngineRunner.h"
#include "tuning/TuningModel.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTreeWidget;
class QTreeWidgetItem;

class CTuningDlg : public QDialog, public CEngineTarget {
    Q_OBJECT
public:
    CTuningDlg(const QString& bandText, const QString& port, QWidget* parent = nullptr);

    const TuningModel& Model() const { return m_model; }
    int m_nFreqSet = TuningModel::kHigh;
    int m_nItem = 2;

    // The frequency set "开始" sends: the one chosen with 1040 .. 1042.
    int ChosenSet() const;
    bool IsExchangeRunning() const { return Runner().IsRunning(); }
    QWidget* Window() override { return this; }

    // Closing waits for a running exchange to end.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Side {
        QLineEdit* edit;
        QComboBox* list;
        QRadioButton* analogue;
        QRadioButton* digital;
        QRadioButton* step5;
        QRadioButton* step625;
    };

    QWidget* BuildFrequencyPage();
    QWidget* BuildTuningPage();
    Side BuildSide(QGroupBox* box, int editId, int listId, int analogueId, int digitalId, int step5Id, int step625Id);
    void OnTreeSelection(QTreeWidgetItem* item);
    void ShowSet(int set);
    void ShowSide(const Side& side, const SideSettings& settings);
    void OnKind(bool rx, SignallingKind kind);
    void OnStep(bool rx, FrequencyStep step);
    void OnSlider(int value);
    void ShowWillSend();
    void RestoreDefaults();
    // Normalises the typed frequencies and stores them into the set shown.
    void StoreTypedFrequencies();
    void NormaliseEdit(bool rx);
    void OnStart();
    TuningItem Item() const { return static_cast<TuningItem>(m_nItem); }
    SideSettings& SideOf(bool rx) { return rx ? m_model.Set(m_nFreqSet).rx : m_model.Set(m_nFreqSet).tx; }

    TuningModel m_model;
    QString m_strPort;
    bool m_firstSelection = true;
    bool m_frequencyShown = false;

    QTreeWidget* m_tree;
    QGroupBox* m_note;
    QPushButton* m_restore;
    QWidget* m_frequencyPage;
    QWidget* m_tuningPage;
    Side m_rx{}, m_tx{};
    QRadioButton* m_chooseSet[3]{};
    QSlider* m_slider = nullptr;
    QLabel* m_position = nullptr;
    QPushButton* m_start = nullptr;
    QLabel* m_willSend = nullptr;             // the set "开始" sends, with its values
    QPointer<QWidget> m_focusBeforeExchange;  // given the keys back once the radio has answered
};
