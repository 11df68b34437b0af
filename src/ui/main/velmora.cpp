// velmora [DIR]: the window, loading DIR at start when it is given.
#include <QApplication>
#include <QMessageBox>
#include <cstring>
#include <iostream>
#include <string_view>

#include "common/Messages.h"
#include "settings/SettingsStore.h"
#include "ui/app/MainWindow.h"
#include "ui/app/StartArguments.h"
#include "ui/app/UiEnvironment.h"
#include "ui/bridges/QtText.h"
#include "ui/list/ListDisplay.h"

// The caption the messages carry is the version the build says.
static_assert(std::u16string_view(velmora::kAppCaption) == u"Velmora " VELMORA_VERSION);

namespace {

constexpr char kUsage[] =
    "Usage: velmora [OPTION]... [FOLDER]\n"
    "Edit the ID3v2 and ID3v1 tags of MP3 files, and rename the files from their tags.\n"
    "\n"
    "With FOLDER, the window starts with every MP3 file of FOLDER loaded; given a file,\n"
    "it loads the folder that holds the file. A path that does not exist loads nothing.\n"
    "\n"
    "Options:\n"
    "  -h, --help     display this help and exit\n"
    "      --version  display the version and exit\n"
    "\n"
    "The options of Qt programs, such as -platform NAME, are accepted as well. An unknown\n"
    "option ends the program with exit status 2.\n";

// Answered before the application object exists, so they work without a display.
bool AnswersAlone(int argc, char** argv) {
    if (argc < 2)
        return false;
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::cout << kUsage;
        return true;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "velmora " VELMORA_VERSION "\n";
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora;
    if (AnswersAlone(argc, argv))
        return std::cout.flush() ? 0 : 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    // Lets a Wayland desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMORA_APP_ID));
    QApplication::setWindowIcon(ui::AppIcon());
    const ui::StartRequest start = ui::ParseStartArguments(QApplication::arguments());
    if (!start.problem.isEmpty())
        std::cerr << "velmora: " << start.problem.toStdString() << '\n';
    if (start.usageError) {
        std::cerr << "Try 'velmora --help' for more information.\n";
        return 2;
    }

    auto opened = ui::UiEnvironment::Open(SettingsStore::DefaultPath());
    if (!opened.environment) {
        std::cerr << "velmora: cannot open the settings: " << opened.error << '\n';
        QMessageBox::critical(
            nullptr, ui::ToQString(kAppCaption),
            QCoreApplication::translate("velmora", "Cannot open the settings:\n%1")
                .arg(QString::fromStdString(opened.error)));
        return 1;
    }
    ui::MainWindow window(*opened.environment);
    window.show();
    if (!opened.notice.empty())
        ShowNotice(opened.environment->Messages(), opened.notice);
    if (!start.problem.isEmpty())
        opened.environment->Messages().Show(
            NoteMessage({ui::ToU16(start.problem)}, kAppCaption, MessageIcon::Warning));
    else if (!start.folder.isEmpty())
        window.OpenFolder(ui::PathFromQString(start.folder));
    return app.exec();
}
