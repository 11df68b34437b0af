#pragma once

#include <QDialog>
#include <array>

#include "export/XmlExporter.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;

namespace velmora::ui {

// "Export XML": the XML options of one export, bound to the core's options. The controls
// show the stored options; Save hands back what the user changed, Cancel nothing.
class XmlExportDialog : public QDialog, public XmlOptionsPrompt {
    Q_OBJECT

  public:
    explicit XmlExportDialog(QWidget* parent = nullptr);

    // Runs the dialog over `options`; true, with the user's changes in `options`, on Save.
    bool Confirm(XmlExportOptions& options) override;

  private:
    QGroupBox* BuildLocation();
    QGroupBox* BuildChecks(const QString& title, const QStringList& labels,
                           std::initializer_list<bool XmlExportOptions::*> fields);
    QGroupBox* BuildStructure();
    QCheckBox* BindCheck(const QString& label, bool XmlExportOptions::*field);
    void ShowOptions();
    void ShowStructure();

    // What the controls show; changed only by the user's clicks, so options the controls
    // cannot show (both locations stored as on) are kept until the user picks one.
    XmlExportOptions options_;
    std::array<QRadioButton*, 3> locations_{};
    std::vector<std::pair<QCheckBox*, bool XmlExportOptions::*>> checks_;
    std::array<QComboBox*, XmlStructure::kLevelCount> levels_{};
};

}  // namespace velmora::ui
