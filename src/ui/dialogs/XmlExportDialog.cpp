#include "ui/dialogs/XmlExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

constexpr std::array<XmlLocation, 3> kLocations = {XmlLocation::None, XmlLocation::FileName,
                                                   XmlLocation::FullPath};

}  // namespace

XmlExportDialog::XmlExportDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Export XML"));
    auto* grid = new QGridLayout;
    grid->addWidget(BuildLocation(), 0, 0);
    grid->addWidget(
        BuildChecks(tr("MP3 Info"), {tr("&Duration"), tr("&Bitrate"), tr("&VBR (true/false)")},
                    {&XmlExportOptions::mp3Duration, &XmlExportOptions::mp3Bitrate,
                     &XmlExportOptions::mp3Vbr}),
        1, 0);
    const QStringList tagFields = {tr("Artist"), tr("Album"), tr("Title"),
                                   tr("Year"),   tr("Track"), tr("Genre")};
    grid->addWidget(BuildChecks(tr("ID3v2"), tagFields,
                                {&XmlExportOptions::v2Artist, &XmlExportOptions::v2Album,
                                 &XmlExportOptions::v2Title, &XmlExportOptions::v2Year,
                                 &XmlExportOptions::v2Track, &XmlExportOptions::v2Genre}),
                    0, 1, 2, 1);
    grid->addWidget(BuildChecks(tr("ID3v1"), tagFields,
                                {&XmlExportOptions::v1Artist, &XmlExportOptions::v1Album,
                                 &XmlExportOptions::v1Title, &XmlExportOptions::v1Year,
                                 &XmlExportOptions::v1Track, &XmlExportOptions::v1Genre}),
                    0, 2, 2, 1);
    grid->addWidget(BuildStructure(), 0, 3, 2, 1);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(tr("&Save"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BindCheck(tr("S&kip field if empty"), &XmlExportOptions::skipIfEmpty));
    bottom->addStretch();
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
}

QGroupBox* XmlExportDialog::BuildLocation() {
    auto* box = new QGroupBox(tr("Location"));
    auto* layout = new QVBoxLayout(box);
    const QStringList labels = {tr("&No location info"), tr("&File name"), tr("F&ull file path")};
    for (std::size_t i = 0; i < kLocations.size(); ++i) {
        locations_[i] = new QRadioButton(labels[int(i)]);
        layout->addWidget(locations_[i]);
        connect(locations_[i], &QRadioButton::clicked, this,
                [this, i] { options_.SetLocation(kLocations[i]); });
    }
    return box;
}

QCheckBox* XmlExportDialog::BindCheck(const QString& label, bool XmlExportOptions::*field) {
    auto* check = new QCheckBox(label);
    checks_.emplace_back(check, field);
    connect(check, &QCheckBox::clicked, this, [this, field](bool on) { options_.*field = on; });
    return check;
}

QGroupBox* XmlExportDialog::BuildChecks(const QString& title, const QStringList& labels,
                                        std::initializer_list<bool XmlExportOptions::*> fields) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    int i = 0;
    for (bool XmlExportOptions::*field : fields)
        layout->addWidget(BindCheck(labels[i++], field));
    layout->addStretch();
    return box;
}

QGroupBox* XmlExportDialog::BuildStructure() {
    auto* box = new QGroupBox(tr("XML Structure"));
    auto* layout = new QFormLayout(box);
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        auto* combo = new QComboBox;
        for (std::u16string_view label : kXmlGroupingLabels)
            combo->addItem(ToQString(label));
        levels_[level] = combo;
        layout->addRow(tr("Level &%1").arg(level + 1), combo);
        connect(combo, &QComboBox::activated, this, [this, level](int index) {
            options_.structure.Select(level, XmlGrouping(index));
            ShowStructure();
        });
    }
    return box;
}

void XmlExportDialog::ShowStructure() {
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        levels_[level]->setCurrentIndex(int(options_.structure.Key(level)));
        levels_[level]->setEnabled(options_.structure.Enabled(level));
    }
}

void XmlExportDialog::ShowOptions() {
    const XmlLocation location = options_.Location();
    for (std::size_t i = 0; i < kLocations.size(); ++i)
        locations_[i]->setChecked(kLocations[i] == location);
    for (const auto& [check, field] : checks_)
        check->setChecked(options_.*field);
    ShowStructure();
}

bool XmlExportDialog::Confirm(XmlExportOptions& options) {
    options_ = options;
    ShowOptions();
    if (exec() != QDialog::Accepted)
        return false;
    options = options_;
    return true;
}

}  // namespace velmora::ui
