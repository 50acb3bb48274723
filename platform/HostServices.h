#pragma once
// The host services behind one small interface each. The running program uses the Linux implementations;
// tests install recorders, so that no test reveals files, powers off, suspends or reaches the network.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// Shows a file selected in the desktop's file manager.
class IFileRevealer
{
public:
    virtual ~IFileRevealer() = default;
    virtual bool revealFile(const QString &path) = 0;
};

// Powers the computer off or suspends it.
class IPowerControl
{
public:
    virtual ~IPowerControl() = default;
    virtual bool powerOff() = 0;
    virtual bool suspend() = 0;
};

// Fetches an update feed. The callback runs on the caller's thread, once.
class IFeedFetcher
{
public:
    virtual ~IFeedFetcher() = default;
    using Done = std::function<void(bool ok, const QByteArray &body)>;
    virtual void fetch(const QUrl &url, Done done) = 0;
};

class HostServices
{
public:
    static IFileRevealer &fileRevealer();
    static IPowerControl &powerControl();
    static IFeedFetcher &feedFetcher();

    // Replace a service (tests); null restores the Linux implementation. Answers the previous one.
    static std::unique_ptr<IFileRevealer> setFileRevealer(std::unique_ptr<IFileRevealer> revealer);
    static std::unique_ptr<IPowerControl> setPowerControl(std::unique_ptr<IPowerControl> control);
    static std::unique_ptr<IFeedFetcher> setFeedFetcher(std::unique_ptr<IFeedFetcher> fetcher);
};
