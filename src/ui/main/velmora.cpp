// velmora [DIR]: the window, loading DIR at start when it is given.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <iostream>

#include "common/Messages.h"
#include "settings/SettingsStore.h"
#include "ui/ListDisplay.h"
#include "ui/MainWindow.h"
#include "ui/QtText.h"
#include "ui/UiEnvironment.h"

int main(int argc, char** argv) {
    using namespace velmora;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    QApplication::setWindowIcon(ui::AppIcon());

    auto opened = ui::UiEnvironment::Open(SettingsStore::DefaultPath());
    if (!opened.environment) {
        std::cerr << "velmora: cannot open the settings: " << opened.error << '\n';
        QMessageBox::critical(nullptr, ui::ToQString(kAppCaption),
                              QStringLiteral("Cannot open the settings:\n%1")
                                  .arg(QString::fromStdString(opened.error)));
        return 1;
    }
    ui::MainWindow window(*opened.environment);
    window.show();
    if (!opened.notice.empty())
        ShowNotice(opened.environment->Messages(), opened.notice);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.OpenFolder(ui::PathFromQString(QFileInfo(arguments.at(1)).absoluteFilePath()));
    return app.exec();
}
