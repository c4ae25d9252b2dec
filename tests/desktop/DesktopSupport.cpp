#include "desktop/DesktopSupport.h"

#include "ui/shield/XcbReply.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace kivo::test {

std::optional<QString> runOnDesktop(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    const bool ended = waitOnDesktop([&] { return p.state() == QProcess::NotRunning; });
    if (!ended || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

std::vector<QRect> xHeads() {
    std::vector<QRect> heads;
    static const QRegularExpression head(QStringLiteral(R"(head #\d+: (\d+)x(\d+) @ (\d+),(\d+))"));
    const QString info = runOnDesktop(QStringLiteral("xdpyinfo"), {"-ext", "XINERAMA"}).value_or(QString());
    for (auto it = head.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        heads.emplace_back(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                           m.captured(2).toInt());
    }
    return heads;
}

QRect xGeometry(const QWidget& window) {
    const QString info = runOnDesktop(QStringLiteral("xwininfo"), {"-id", QString::number(window.winId())})
                             .value_or(QString());
    const auto field = [&](const char* name) {
        const QRegularExpression line(QString::fromLatin1(name) + QStringLiteral(R"(:\s+(-?\d+))"));
        return line.match(info).captured(1).toInt();
    };
    return {field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height")};
}

namespace {

template <class T> using Reply = XcbReply<T>;

struct Connection {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(c); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }
};

// The window's class, or that of the client in a window manager's frame.
QString className(xcb_connection_t* c, xcb_window_t w, bool inside = true) {
    Reply<xcb_get_property_reply_t> p(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64), nullptr));
    if (p && xcb_get_property_value_length(p.get()) > 0) {
        const QByteArray value(static_cast<const char*>(xcb_get_property_value(p.get())),
                               xcb_get_property_value_length(p.get()));
        return QString::fromLatin1(value.split('\0').value(1));
    }
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
    for (int i = 0; inside && tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        const QString name = className(c, xcb_query_tree_children(tree.get())[i], false);
        if (name != QLatin1String("-"))
            return name;
    }
    return QStringLiteral("-");
}

} // namespace

QStringList xWindowsAbove(const QWidget& window, const QRect& area) {
    Connection x;
    if (xcb_connection_has_error(x.c))
        return {QStringLiteral("no X connection")};
    // The child of the root window that holds the widget's window: itself, or a window manager's frame.
    xcb_window_t top = window.winId();
    for (;;) {
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(x.c, xcb_query_tree(x.c, top), nullptr));
        if (!tree)
            return {QStringLiteral("window gone")};
        if (tree->parent == x.root() || tree->parent == XCB_WINDOW_NONE)
            break;
        top = tree->parent;
    }
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(x.c, xcb_query_tree(x.c, x.root()), nullptr));
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    int at = 0;
    while (at < count && children[at] != top)
        ++at;
    QStringList above;
    // Bottom to top: everything after the widget's window is over it.
    for (int i = at + 1; i < count; ++i) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(x.c, xcb_get_window_attributes(x.c, children[i]), nullptr));
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, children[i]), nullptr));
        if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
            continue;
        const QRect place(geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
                          geometry->height + 2 * geometry->border_width);
        if (!place.intersects(area))
            continue;
        above << QStringLiteral("0x%1 %2 %3x%4+%5+%6")
                     .arg(children[i], 0, 16)
                     .arg(className(x.c, children[i]))
                     .arg(place.width())
                     .arg(place.height())
                     .arg(place.x())
                     .arg(place.y());
    }
    return above;
}

bool xViewable(const QWidget& window) {
    Connection x;
    Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        x.c, xcb_get_window_attributes(x.c, static_cast<xcb_window_t>(window.winId())), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<unsigned> xActiveWindow() {
    Connection x;
    const QByteArray name = "_NET_ACTIVE_WINDOW";
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(x.c, xcb_intern_atom(x.c, 0, name.size(), name.constData()), nullptr));
    if (!atom)
        return std::nullopt;
    Reply<xcb_get_property_reply_t> p(xcb_get_property_reply(
        x.c, xcb_get_property(x.c, 0, x.root(), atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!p || xcb_get_property_value_length(p.get()) != 4)
        return std::nullopt;
    return *static_cast<const uint32_t*>(xcb_get_property_value(p.get()));
}

} // namespace kivo::test
