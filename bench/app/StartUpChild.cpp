#include "bench/app/StartUpChild.h"

#include "app/Startup.h"
#include "platform/ui/kernel/Application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace bench {

namespace {

// Watches every event of the process for the main window's first painting.
class TFirstPaint : public QObject {
public:
    explicit TFirstPaint(bool registerProgram) : registerProgram_(registerProgram) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (done_ || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->isWindow() || widget != MainWindow())
            return false;
        done_ = true;
        // The painting in hand ends and reaches the screen before this runs.
        QTimer::singleShot(0, [] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            if (ui::Application != nullptr)
                ui::Application->Terminate();
            else
                QCoreApplication::quit();
        });
        return false;
    }

private:
    QWidget* MainWindow() const
    {
        if (!registerProgram_)
            return QApplication::topLevelWidgets().value(0);
        if (ui::Application == nullptr || ui::Application->MainForm() == nullptr)
            return nullptr;
        return ui::Application->MainForm()->Widget();
    }

    bool registerProgram_;
    bool done_ = false;
};

bool registerProgram = true;

// Runs when the program's Qt application is made, before any window.
void WatchFirstPaint()
{
    QCoreApplication::instance()->installEventFilter(new TFirstPaint(registerProgram));
}

} // namespace

int RunStartUpChild(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    registerProgram = std::strcmp(argv[2], "konverze") == 0;
    qAddPreRoutine(WatchFirstPaint);
    if (registerProgram) {
        if (argc < 4)
            return 2;
        // As the program is started: its path and the data folder.
        char* programArguments[] = {argv[0], argv[3], nullptr};
        int programArgc = 2;
        return app::ApplicationStartup(programArgc, programArguments);
    }
    QApplication application(argc, argv);
    QWidget window;
    window.resize(739, 538);
    window.show();
    return QApplication::exec();
}

} // namespace bench
