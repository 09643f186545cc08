#include "report/printer/RpWindowMessages.h"

#include "platform/ui/kernel/Application.h"

#include <QCoreApplication>

namespace report {

void RpProcessMessages()
{
    if (ui::Application != nullptr)
        ui::Application->ProcessMessages();
    else if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}

} // namespace report
