#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace velmora {
class SettingsKey;
class MessageSink;
}  // namespace velmora

namespace velmora::ui {

// "Velmora 1.1 Preferences": the General page (recursion, the ID3v2 version and encoding of
// saves, empty ID3v1 removal, the 8-bit code page, the history of saves and its limits) and the
// User Interface page (the list's display options). OK writes the General page and, when it was
// opened, the User Interface page; Cancel writes nothing.
class PreferencesDialog : public QDialog {
    Q_OBJECT

  public:
    PreferencesDialog(SettingsKey& settings, MessageSink& messages, QWidget* parent = nullptr);

    void accept() override;

  private:
    QWidget* BuildGeneralPage();
    QWidget* BuildInterfacePage();
    QWidget* BuildHistoryGroup();
    void ReadGeneral();
    void ReadInterface();
    void WriteGeneral();
    void WriteInterface();
    void EnableEncodings();

    SettingsKey& settings_;
    MessageSink& messages_;
    QTabWidget* pages_;
    bool interfaceOpened_ = false;
    QCheckBox* recurse_;
    QCheckBox* use24_;
    std::array<QRadioButton*, 4> encodings_;
    QCheckBox* autoDeleteV1_;
    QComboBox* codePage_;
    QCheckBox* keepHistory_;
    QSpinBox* historyMiB_;
    QSpinBox* historyDays_;
    QCheckBox* showIcons_;
    QCheckBox* showRedText_;
    QCheckBox* showGridlines_;
    QCheckBox* alternateBg_;
};

}  // namespace velmora::ui
