// The window's tests: every QtTest class in one program under the offscreen platform.
#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "UiTestSupport.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A configuration folder of the run's own: the file dialogs keep their state there, and a
    // state left by an earlier run changes what the tests' dialogs show.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // And a history of saves of its own: saves in the tests are recorded like any other.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    // Collation differs by locale (the C locale compares code units): the tests name one.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // "ui_tests ClassName [QtTest arguments]" runs that class alone. scripts/mutate speaks
    // gtest: "--gtest_filter=ClassName" names the class, other --gtest_ options mean nothing here.
    QString only;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--gtest_filter=")))
            only = arg.mid(15);
        else if (i == 1 && !arg.startsWith(QLatin1Char('-')))
            only = arg;
        else if (!arg.startsWith(QLatin1String("--gtest_")))
            argv[kept++] = argv[i];
    }
    argc = kept;
    int failed = 0;
    for (auto make : velmora::testing::RegisteredTests()) {
        std::unique_ptr<QObject> test(make());
        if (!only.isEmpty() && !QString::fromLatin1(test->metaObject()->className()).endsWith(only))
            continue;
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
