#include "platform/atspi/accessibility_bus.h"

#include <atspi/atspi-constants.h>
#include <gio/gio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "platform/failure.h"

namespace kazunavi {

namespace {

constexpr char kRegistryName[] = ATSPI_DBUS_NAME_REGISTRY;
constexpr char kRootPath[] = ATSPI_DBUS_PATH_ROOT;
constexpr char kAccessibleInterface[] = ATSPI_DBUS_INTERFACE_ACCESSIBLE;
constexpr char kCollectionInterface[] = ATSPI_DBUS_INTERFACE_COLLECTION;
constexpr char kDocumentInterface[] = ATSPI_DBUS_INTERFACE_DOCUMENT;
constexpr std::int32_t kMatchAll = ATSPI_Collection_MATCH_ALL;
constexpr std::int32_t kMatchAny = ATSPI_Collection_MATCH_ANY;
constexpr std::uint32_t kSortCanonical = ATSPI_Collection_SORT_ORDER_CANONICAL;

struct VariantUnref {
    void operator()(GVariant* v) const { g_variant_unref(v); }
};
using Variant = std::unique_ptr<GVariant, VariantUnref>;

struct ObjectUnref {
    void operator()(gpointer o) const { g_object_unref(o); }
};
using Connection = std::unique_ptr<GDBusConnection, ObjectUnref>;

// Takes the error, frees it and throws.
[[noreturn]] void fail(std::string_view what, GError* error) {
    std::string message(what);
    if (error != nullptr) {
        message += ": ";
        message += error->message;
        g_error_free(error);
    }
    throw Failure(message);
}

int millisecondsUntil(AccessibilityBus::Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - AccessibilityBus::Clock::now());
    if (left.count() <= 0) {
        throw Failure("accessibility bus: out of time");
    }
    return static_cast<int>(std::min<std::chrono::milliseconds::rep>(left.count(), G_MAXINT));
}

// One method call; never starts a service that is not running.
Variant call(GDBusConnection* connection, GCancellable* cancellable,
             AccessibilityBus::Clock::time_point deadline, const char* busName, const char* path,
             const char* interface, const char* method, GVariant* parameters,
             const char* replyType) {
    // Owned here, so that it is freed however the call ends.
    const Variant arguments(parameters != nullptr ? g_variant_ref_sink(parameters) : nullptr);
    const int timeout = millisecondsUntil(deadline);
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        connection, busName, path, interface, method, arguments.get(), G_VARIANT_TYPE(replyType),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, timeout, cancellable, &error);
    if (reply == nullptr) {
        fail(std::string("accessibility bus: ") + interface + "." + method, error);
    }
    return Variant(reply);
}

Connection openBus(const std::string& address, GCancellable* cancellable) {
    GError* error = nullptr;
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, cancellable, &error);
    if (connection == nullptr) {
        fail("accessibility bus: cannot connect to " + address, error);
    }
    // A bus that goes away must not end the program.
    g_dbus_connection_set_exit_on_close(connection, FALSE);
    return Connection(connection);
}

// The session bus's address as its clients find it, without starting one.
std::optional<std::string> sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        address != nullptr && *address != '\0') {
        return std::string(address);
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr) {
        const std::string socket = std::string(runtime) + "/bus";
        if (::access(socket.c_str(), F_OK) == 0) {
            return "unix:path=" + socket;
        }
    }
    return std::nullopt;
}

std::string accessibilityBusAddress(SessionBus& session, GCancellable* cancellable,
                                    AccessibilityBus::Clock::time_point deadline) {
    if (const char* address = std::getenv("AT_SPI_BUS_ADDRESS");
        address != nullptr && *address != '\0') {
        return address;
    }
    Variant reply = call(session.connection(cancellable), cancellable, deadline, "org.a11y.Bus",
                         "/org/a11y/bus", "org.a11y.Bus", "GetAddress", nullptr, "(s)");
    const gchar* address = nullptr;
    g_variant_get(reply.get(), "(&s)", &address);
    if (address == nullptr || *address == '\0') {
        throw Failure("accessibility bus: the session names no accessibility bus");
    }
    return address;
}

std::vector<AccessibleRef> references(GVariant* reply) {
    std::vector<AccessibleRef> refs;
    GVariant* array = g_variant_get_child_value(reply, 0);
    GVariantIter iter;
    g_variant_iter_init(&iter, array);
    const gchar* busName = nullptr;
    const gchar* path = nullptr;
    while (g_variant_iter_next(&iter, "(&s&o)", &busName, &path)) {
        refs.push_back(AccessibleRef{busName, path});
    }
    g_variant_unref(array);
    return refs;
}

// A bit set of 32-bit words as the match rule carries it.
GVariant* bitWords(std::span<const std::int32_t> words) {
    return g_variant_new_fixed_array(G_VARIANT_TYPE_INT32, words.data(), words.size(),
                                     sizeof(std::int32_t));
}

}  // namespace

SessionBus::~SessionBus() {
    if (connection_ != nullptr) {
        g_dbus_connection_close_sync(connection_, nullptr, nullptr);
        g_object_unref(connection_);
    }
}

GDBusConnection* SessionBus::connection(GCancellable* cancellable) {
    if (connection_ != nullptr && g_dbus_connection_is_closed(connection_) != 0) {
        g_object_unref(std::exchange(connection_, nullptr));
    }
    if (connection_ == nullptr) {
        const std::optional<std::string> address = sessionBusAddress();
        if (!address) {
            throw Failure("accessibility bus: no session bus");
        }
        connection_ = openBus(*address, cancellable).release();
    }
    return connection_;
}

std::unique_ptr<AccessibilityBus> AccessibilityBus::connect(SessionBus& session,
                                                            GCancellable* cancellable,
                                                            Clock::time_point deadline) {
    const std::string address = accessibilityBusAddress(session, cancellable, deadline);
    Connection connection = openBus(address, cancellable);
    auto bus =
        std::unique_ptr<AccessibilityBus>(new AccessibilityBus(connection.release(), cancellable));
    bus->setDeadline(deadline);
    return bus;
}

AccessibilityBus::AccessibilityBus(GDBusConnection* connection, GCancellable* cancellable)
    : connection_(connection), cancellable_(cancellable) {
    g_object_ref(cancellable_);
}

AccessibilityBus::~AccessibilityBus() {
    g_dbus_connection_close_sync(connection_, nullptr, nullptr);
    g_object_unref(connection_);
    g_object_unref(cancellable_);
}

bool AccessibilityBus::closed() const {
    return g_dbus_connection_is_closed(connection_) != 0;
}

std::vector<AccessibleRef> AccessibilityBus::applications() {
    return children(AccessibleRef{kRegistryName, kRootPath});
}

std::uint32_t AccessibilityBus::processId(const std::string& busName) {
    Variant reply =
        call(connection_, cancellable_, deadline_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus", "GetConnectionUnixProcessID",
             g_variant_new("(s)", busName.c_str()), "(u)");
    guint32 pid = 0;
    g_variant_get(reply.get(), "(u)", &pid);
    return pid;
}

std::vector<AccessibleRef> AccessibilityBus::children(const AccessibleRef& object) {
    Variant reply =
        call(connection_, cancellable_, deadline_, object.busName.c_str(), object.path.c_str(),
             kAccessibleInterface, "GetChildren", nullptr, "(a(so))");
    return references(reply.get());
}

std::string AccessibilityBus::name(const AccessibleRef& object) {
    Variant reply = call(connection_, cancellable_, deadline_, object.busName.c_str(),
                         object.path.c_str(), "org.freedesktop.DBus.Properties", "Get",
                         g_variant_new("(ss)", kAccessibleInterface, "Name"), "(v)");
    GVariant* value = nullptr;
    g_variant_get(reply.get(), "(v)", &value);
    Variant owned(value);
    if (!g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) {
        throw Failure("accessibility bus: a name that is not text");
    }
    return g_variant_get_string(value, nullptr);
}

std::uint64_t AccessibilityBus::states(const AccessibleRef& object) {
    Variant reply = call(connection_, cancellable_, deadline_, object.busName.c_str(),
                         object.path.c_str(), kAccessibleInterface, "GetState", nullptr, "(au)");
    GVariant* array = g_variant_get_child_value(reply.get(), 0);
    gsize count = 0;
    const auto* words =
        static_cast<const guint32*>(g_variant_get_fixed_array(array, &count, sizeof(guint32)));
    std::uint64_t set = 0;
    for (gsize i = 0; i < count && i < 2; ++i) {
        set |= static_cast<std::uint64_t>(words[i]) << (32 * i);
    }
    g_variant_unref(array);
    return set;
}

std::optional<AccessibleRef> AccessibilityBus::firstDescendant(const AccessibleRef& object,
                                                               int role, std::uint64_t states) {
    const std::array<std::int32_t, 2> stateWords = {static_cast<std::int32_t>(states & 0xFFFFFFFFu),
                                                    static_cast<std::int32_t>(states >> 32)};
    std::array<std::int32_t, 4> roleWords{};
    roleWords.at(static_cast<std::size_t>(role / 32)) =
        static_cast<std::int32_t>(1u << static_cast<unsigned>(role % 32));
    // The toolkit bridge compares roles correctly only under "any"; with one
    // role that is the same rule.
    GVariant* rule = g_variant_new("(@aii@a{ss}i@aii@asib)", bitWords(stateWords), kMatchAll,
                                   g_variant_new_array(G_VARIANT_TYPE("{ss}"), nullptr, 0),
                                   kMatchAll, bitWords(roleWords), kMatchAny,
                                   g_variant_new_strv(nullptr, 0), kMatchAll, FALSE);
    Variant reply =
        call(connection_, cancellable_, deadline_, object.busName.c_str(), object.path.c_str(),
             kCollectionInterface, "GetMatches",
             g_variant_new("(@(aiia{ss}iaiiasib)uib)", rule, kSortCanonical, 1, TRUE), "(a(so))");
    std::vector<AccessibleRef> found = references(reply.get());
    if (found.empty()) {
        return std::nullopt;
    }
    return found.front();
}

std::map<std::string, std::string> AccessibilityBus::documentAttributes(
    const AccessibleRef& document) {
    Variant reply =
        call(connection_, cancellable_, deadline_, document.busName.c_str(), document.path.c_str(),
             kDocumentInterface, "GetAttributes", nullptr, "(a{ss})");
    std::map<std::string, std::string> attributes;
    GVariant* array = g_variant_get_child_value(reply.get(), 0);
    GVariantIter iter;
    g_variant_iter_init(&iter, array);
    const gchar* key = nullptr;
    const gchar* value = nullptr;
    while (g_variant_iter_next(&iter, "{&s&s}", &key, &value)) {
        attributes.emplace(key, value);
    }
    g_variant_unref(array);
    return attributes;
}

}  // namespace kazunavi
