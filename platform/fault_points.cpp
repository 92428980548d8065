#include "platform/fault_points.h"

#include <atomic>

namespace FaultPoints {

namespace {
std::atomic<Handler> installed{nullptr};
}

void setHandler(Handler handler)
{
    installed = handler;
}

bool hit(const char *point)
{
    const Handler handler = installed;
    return handler && handler(point);
}

} // namespace FaultPoints
