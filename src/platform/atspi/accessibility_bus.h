#pragma once

// A connection to the desktop session's accessibility bus (AT-SPI2), and the
// few questions the browser lookup asks on it. Plain D-Bus calls through
// GDBus: no cache, no event subscription, nothing attached to any main loop,
// so that it may run on a thread of its own. Every call waits at most until
// the deadline and ends at once when cancelled; a failure of any kind throws
// Failure.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct _GCancellable GCancellable;
typedef struct _GDBusConnection GDBusConnection;

namespace kazunavi {

// An accessible object: the application's bus name and the object's path.
struct AccessibleRef {
    std::string busName;
    std::string path;
    bool operator==(const AccessibleRef&) const = default;
};

// The session's bus, which names the accessibility bus. Kept open between
// attempts to reach that: a new connection costs a handshake each time.
class SessionBus {
  public:
    SessionBus() = default;
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // Opened on first use and again after it closed; starts no bus.
    GDBusConnection* connection(GCancellable* cancellable);

  private:
    GDBusConnection* connection_ = nullptr;
};

class AccessibilityBus {
  public:
    using Clock = std::chrono::steady_clock;

    // Connects to the accessibility bus that the session's bus names
    // ($AT_SPI_BUS_ADDRESS first). Starts nothing: when no accessibility bus
    // runs, there is none to connect to.
    static std::unique_ptr<AccessibilityBus> connect(SessionBus& session, GCancellable* cancellable,
                                                     Clock::time_point deadline);

    ~AccessibilityBus();
    AccessibilityBus(const AccessibilityBus&) = delete;
    AccessibilityBus& operator=(const AccessibilityBus&) = delete;

    // The time by which every call from now on must have its answer.
    void setDeadline(Clock::time_point deadline) { deadline_ = deadline; }
    // The connection is gone (the bus ended): make a new one.
    bool closed() const;

    // The applications that publish their accessible tree: their roots.
    std::vector<AccessibleRef> applications();
    // The process that owns the bus name.
    std::uint32_t processId(const std::string& busName);
    std::vector<AccessibleRef> children(const AccessibleRef& object);
    std::string name(const AccessibleRef& object);
    // The AT-SPI state set, state n being bit n.
    std::uint64_t states(const AccessibleRef& object);
    // The first descendant, in tree order, with the role and all the states.
    std::optional<AccessibleRef> firstDescendant(const AccessibleRef& object, int role,
                                                 std::uint64_t states);
    std::map<std::string, std::string> documentAttributes(const AccessibleRef& document);

  private:
    AccessibilityBus(GDBusConnection* connection, GCancellable* cancellable);

    GDBusConnection* connection_;
    GCancellable* cancellable_;
    Clock::time_point deadline_;
};

}  // namespace kazunavi
