#include "HostServices.h"

#include "FileRevealer.h"
#include "LogindPowerControl.h"
#include "NetworkFeedFetcher.h"

namespace {

template <typename T> std::unique_ptr<T> &slot()
{
    static std::unique_ptr<T> s_service;
    return s_service;
}

} // namespace

IFileRevealer &HostServices::fileRevealer()
{
    auto &s = slot<IFileRevealer>();
    if (!s)
        s = std::make_unique<DBusFileRevealer>();
    return *s;
}

IPowerControl &HostServices::powerControl()
{
    auto &s = slot<IPowerControl>();
    if (!s)
        s = std::make_unique<LogindPowerControl>();
    return *s;
}

IFeedFetcher &HostServices::feedFetcher()
{
    auto &s = slot<IFeedFetcher>();
    if (!s)
        s = std::make_unique<NetworkFeedFetcher>();
    return *s;
}

std::unique_ptr<IFileRevealer> HostServices::setFileRevealer(std::unique_ptr<IFileRevealer> revealer)
{
    std::swap(slot<IFileRevealer>(), revealer);
    return revealer;
}

std::unique_ptr<IPowerControl> HostServices::setPowerControl(std::unique_ptr<IPowerControl> control)
{
    std::swap(slot<IPowerControl>(), control);
    return control;
}

std::unique_ptr<IFeedFetcher> HostServices::setFeedFetcher(std::unique_ptr<IFeedFetcher> fetcher)
{
    std::swap(slot<IFeedFetcher>(), fetcher);
    return fetcher;
}
