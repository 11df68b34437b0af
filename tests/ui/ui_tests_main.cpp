// The window's tests: every QtTest class in one program under the offscreen platform.
#include <QApplication>
#include <QLocale>
#include <QTest>
#include <memory>

namespace velmora::testing {
QObject* MakeMainWindowTest();
QObject* MakePreferencesTest();
QObject* MakeMessageSinkTest();
QObject* MakeWorkCommandsTest();
QObject* MakePanelTest();
}  // namespace velmora::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Collation differs by locale (the C locale compares code units): the tests name one.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    int failed = 0;
    for (auto make : {velmora::testing::MakeMainWindowTest, velmora::testing::MakePreferencesTest,
                      velmora::testing::MakeMessageSinkTest, velmora::testing::MakeWorkCommandsTest,
                      velmora::testing::MakePanelTest}) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
