#include "ui/app/StartArguments.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velmora::ui {

StartRequest ParseStartArguments(const QStringList& arguments) {
    StartRequest request;
    QStringList paths;
    bool optionsEnd = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnd && argument == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
            request.problem =
                QCoreApplication::translate("velmora", "unrecognized option '%1'").arg(argument);
            request.usageError = true;
            return request;
        } else {
            paths << argument;
        }
    }
    if (paths.size() > 1) {
        request.problem =
            QCoreApplication::translate("velmora", "one folder at most, not %1").arg(paths.size());
        request.usageError = true;
    } else if (paths.size() == 1) {
        const QFileInfo info(paths.front());
        if (!info.exists())
            request.problem =
                QCoreApplication::translate("velmora", "%1: no such file or folder; nothing loaded")
                    .arg(paths.front());
        else
            request.folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    }
    return request;
}

}  // namespace velmora::ui
