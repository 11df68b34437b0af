#include "ui/dialogs/PreferencesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "common/Messages.h"
#include "history/HistoryStore.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "ui/bridges/QtText.h"
#include "ui/list/ListDisplay.h"

namespace velmora::ui {
namespace {

constexpr int kIndent = 20;
constexpr double kMebibyte = 1024.0 * 1024.0;
// The largest limits the boxes offer: 1 TiB, 100 years.
constexpr int kMostHistoryMiB = 1024 * 1024;
constexpr int kMostHistoryDays = 36500;

// Common 8-bit code pages: the iconv name stored, and what users know them as.
struct CodePageChoice {
    const char* name;
    const char* label;
};
constexpr CodePageChoice kCodePages[] = {
    {"CP1252", QT_TRANSLATE_NOOP("PreferencesDialog", "Western European (Windows-1252)")},
    {"ISO-8859-1", QT_TRANSLATE_NOOP("PreferencesDialog", "Western European (ISO 8859-1)")},
    {"ISO-8859-15",
     QT_TRANSLATE_NOOP("PreferencesDialog", "Western European with euro (ISO 8859-15)")},
    {"CP1250", QT_TRANSLATE_NOOP("PreferencesDialog", "Central European (Windows-1250)")},
    {"ISO-8859-2", QT_TRANSLATE_NOOP("PreferencesDialog", "Central European (ISO 8859-2)")},
    {"CP1251", QT_TRANSLATE_NOOP("PreferencesDialog", "Cyrillic (Windows-1251)")},
    {"KOI8-R", QT_TRANSLATE_NOOP("PreferencesDialog", "Cyrillic (KOI8-R)")},
    {"KOI8-U", QT_TRANSLATE_NOOP("PreferencesDialog", "Ukrainian (KOI8-U)")},
    {"CP1253", QT_TRANSLATE_NOOP("PreferencesDialog", "Greek (Windows-1253)")},
    {"CP1254", QT_TRANSLATE_NOOP("PreferencesDialog", "Turkish (Windows-1254)")},
    {"CP1255", QT_TRANSLATE_NOOP("PreferencesDialog", "Hebrew (Windows-1255)")},
    {"CP1256", QT_TRANSLATE_NOOP("PreferencesDialog", "Arabic (Windows-1256)")},
    {"CP1257", QT_TRANSLATE_NOOP("PreferencesDialog", "Baltic (Windows-1257)")},
    {"CP1258", QT_TRANSLATE_NOOP("PreferencesDialog", "Vietnamese (Windows-1258)")},
    {"CP874", QT_TRANSLATE_NOOP("PreferencesDialog", "Thai (Windows-874)")},
    {"SHIFT_JIS", QT_TRANSLATE_NOOP("PreferencesDialog", "Japanese (Shift JIS)")},
    {"GBK", QT_TRANSLATE_NOOP("PreferencesDialog", "Simplified Chinese (GBK)")},
    {"BIG5", QT_TRANSLATE_NOOP("PreferencesDialog", "Traditional Chinese (Big5)")},
    {"EUC-KR", QT_TRANSLATE_NOOP("PreferencesDialog", "Korean (EUC-KR)")},
};

const std::array<const char*, 4> kEncodingTexts = {
    QT_TRANSLATE_NOOP("PreferencesDialog", "Don't change encoding"),
    QT_TRANSLATE_NOOP("PreferencesDialog", "Save as Unicode"),
    QT_TRANSLATE_NOOP("PreferencesDialog", "Save as Unicode (with BOM)"),
    QT_TRANSLATE_NOOP("PreferencesDialog", "Save as UTF-8"),
};

// The tables' texts in the user's language.
QString Translated(const char* text) {
    return QCoreApplication::translate("PreferencesDialog", text);
}

}  // namespace

PreferencesDialog::PreferencesDialog(SettingsKey& settings, MessageSink& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages), pages_(new QTabWidget) {
    setWindowTitle(tr("%1 Preferences").arg(ToQString(kAppCaption)));
    pages_->addTab(BuildGeneralPage(), tr("General"));
    pages_->addTab(BuildInterfacePage(), tr("User Interface"));
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1 && !interfaceOpened_) {
            interfaceOpened_ = true;
            ReadInterface();
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    ReadGeneral();
}

QWidget* PreferencesDialog::BuildGeneralPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    recurse_ = new QCheckBox(tr("&Recurse Subdirectories"));
    use24_ =
        new QCheckBox(tr("Save files in ID3v2.&4 (may create problems with older media players)"));
    layout->addWidget(recurse_);
    layout->addWidget(use24_);
    for (std::size_t i = 0; i < encodings_.size(); ++i) {
        encodings_[i] = new QRadioButton(Translated(kEncodingTexts[i]));
        auto* row = new QHBoxLayout;
        row->addSpacing(kIndent);
        row->addWidget(encodings_[i]);
        layout->addLayout(row);
    }
    autoDeleteV1_ = new QCheckBox(tr("Automatically remove &empty IDv1 tags"));
    layout->addWidget(autoDeleteV1_);
    codePage_ = new QComboBox;
    for (const auto& choice : kCodePages)
        codePage_->addItem(Translated(choice.label), QString::fromLatin1(choice.name));
    auto* form = new QFormLayout;
    form->addRow(tr("8-bit text &code page:"), codePage_);
    layout->addLayout(form);
    layout->addWidget(BuildHistoryGroup());
    layout->addStretch();
    connect(use24_, &QCheckBox::toggled, this, &PreferencesDialog::EnableEncodings);
    return page;
}

namespace {

// The size the history takes now, opened only when it exists.
QString HistorySizeText() {
    const std::filesystem::path file = history::HistoryStore::DefaultFile();
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored))
        return PreferencesDialog::tr("In use: none yet");
    std::u16string notice;
    std::string error;
    const auto store = history::HistoryStore::Open(file, notice, error);
    if (!store)
        return PreferencesDialog::tr("In use: unknown (%1)").arg(QString::fromStdString(error));
    return PreferencesDialog::tr("In use: %1 MiB")
        .arg(double(store->SizeInBytes()) / kMebibyte, 0, 'f', 1);
}

}  // namespace

QWidget* PreferencesDialog::BuildHistoryGroup() {
    auto* group = new QGroupBox(tr("History"));
    auto* form = new QFormLayout(group);
    keepHistory_ = new QCheckBox(tr("Keep a &history of saves"));
    form->addRow(keepHistory_);
    historyMiB_ = new QSpinBox;
    historyMiB_->setRange(1, kMostHistoryMiB);
    historyMiB_->setSuffix(tr(" MiB"));
    form->addRow(tr("Si&ze limit:"), historyMiB_);
    historyDays_ = new QSpinBox;
    historyDays_->setRange(1, kMostHistoryDays);
    historyDays_->setSuffix(tr(" days"));
    form->addRow(tr("&Age limit:"), historyDays_);
    auto* used = new QLabel(HistorySizeText());
    used->setObjectName(QStringLiteral("historySize"));
    form->addRow(used);
    for (QWidget* limit : {static_cast<QWidget*>(historyMiB_), static_cast<QWidget*>(historyDays_)})
        connect(keepHistory_, &QCheckBox::toggled, limit, &QWidget::setEnabled);
    return group;
}

QWidget* PreferencesDialog::BuildInterfacePage() {
    auto* page = new QWidget;
    auto* group = new QGroupBox(tr("List"));
    auto* boxes = new QVBoxLayout(group);
    showIcons_ = new QCheckBox(tr("Show &icons for updated files"));
    showRedText_ = new QCheckBox(tr("Show updated files with red &text"));
    showGridlines_ = new QCheckBox(tr("Show &gridlines"));
    alternateBg_ = new QCheckBox(tr("&Alternate item background color"));
    for (QCheckBox* box : {showIcons_, showRedText_, showGridlines_, alternateBg_})
        boxes->addWidget(box);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

void PreferencesDialog::ReadGeneral() {
    recurse_->setChecked(settings_.Read(settings::kRecurse));
    use24_->setChecked(settings_.Read(settings::kUse24));
    const std::uint32_t encoding = settings_.Read(settings::kEncoding);
    // Auto-exclusive buttons cannot all be unchecked by setChecked; a stored number outside
    // 0..3 checks none of them.
    for (QRadioButton* button : encodings_)
        button->setAutoExclusive(false);
    for (std::size_t i = 0; i < encodings_.size(); ++i)
        encodings_[i]->setChecked(encoding == i);
    for (QRadioButton* button : encodings_)
        button->setAutoExclusive(true);
    autoDeleteV1_->setChecked(settings_.Read(settings::kAutoDeleteV1));
    const QString name = ToQString(settings_.Read(settings::kCodePage));
    if (codePage_->findData(name) < 0)
        codePage_->addItem(name, name);
    codePage_->setCurrentIndex(codePage_->findData(name));
    EnableEncodings();
    keepHistory_->setChecked(settings_.Read(settings::kKeepHistory));
    historyMiB_->setValue(
        int(std::min<std::uint32_t>(settings_.Read(settings::kHistoryMaxMiB), kMostHistoryMiB)));
    historyDays_->setValue(
        int(std::min<std::uint32_t>(settings_.Read(settings::kHistoryKeepDays), kMostHistoryDays)));
    historyMiB_->setEnabled(keepHistory_->isChecked());
    historyDays_->setEnabled(keepHistory_->isChecked());
}

void PreferencesDialog::ReadInterface() {
    const ListDisplay display = ListDisplay::Read(settings_);
    showIcons_->setChecked(display.showIcons);
    showRedText_->setChecked(display.showRedText);
    showGridlines_->setChecked(display.showGridlines);
    alternateBg_->setChecked(display.alternateBg);
}

void PreferencesDialog::EnableEncodings() {
    for (QRadioButton* button : encodings_)
        button->setEnabled(use24_->isChecked());
}

void PreferencesDialog::WriteGeneral() {
    settings_.Write(settings::kRecurse, recurse_->isChecked());
    settings_.Write(settings::kUse24, use24_->isChecked());
    settings_.Write(settings::kAutoDeleteV1, autoDeleteV1_->isChecked());
    for (std::size_t i = 0; i < encodings_.size(); ++i) {
        if (encodings_[i]->isChecked()) {
            settings_.Write(settings::kEncoding, std::uint32_t(i));
            break;
        }
    }
    settings_.Write(settings::kCodePage, ToU16(codePage_->currentData().toString()));
    settings_.Write(settings::kKeepHistory, keepHistory_->isChecked());
    settings_.Write(settings::kHistoryMaxMiB, std::uint32_t(historyMiB_->value()));
    settings_.Write(settings::kHistoryKeepDays, std::uint32_t(historyDays_->value()));
}

void PreferencesDialog::WriteInterface() {
    settings_.Write(settings::kShowIcons, showIcons_->isChecked());
    settings_.Write(settings::kShowRedText, showRedText_->isChecked());
    settings_.Write(settings::kShowGridlines, showGridlines_->isChecked());
    settings_.Write(settings::kAlternateBg, alternateBg_->isChecked());
}

void PreferencesDialog::accept() {
    WriteGeneral();
    if (interfaceOpened_)
        WriteInterface();
    ShowNotice(messages_,
               ToU16(tr("Some settings will not take effect until the program is restarted.")));
    QDialog::accept();
}

}  // namespace velmora::ui
