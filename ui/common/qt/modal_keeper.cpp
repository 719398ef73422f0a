#include "ui/common/qt/modal_keeper.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace tamlo {
namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

// The child of the root window that holds window: the window itself, or the frame a
// reparenting window manager put around it. XCB_NONE when the server does not answer.
xcb_window_t TopLevelOf(xcb_connection_t* connection, xcb_window_t window) {
    for (int depth = 0; depth < 16; ++depth) {
        ReplyPtr<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr),
            &std::free);
        if (!tree) {
            return XCB_NONE;
        }
        if (tree->parent == tree->root) {
            return window;
        }
        window = tree->parent;
    }
    return XCB_NONE;
}

// Whether the server stacks blocked above modal (both are the program's top-level windows).
bool StackedAbove(xcb_connection_t* connection, xcb_window_t blocked, xcb_window_t modal) {
    const xcb_window_t blockedTop = TopLevelOf(connection, blocked);
    const xcb_window_t modalTop = TopLevelOf(connection, modal);
    if (blockedTop == XCB_NONE || modalTop == XCB_NONE || blockedTop == modalTop) {
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    ReplyPtr<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr), &std::free);
    if (!tree) {
        return false;
    }
    // The root's children come bottom first.
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    bool modalSeen = false;
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        modalSeen = modalSeen || children[i] == modalTop;
        if (children[i] == blockedTop) {
            return modalSeen;
        }
    }
    return false;
}

// Whether window is one of the program's top-level windows that modal blocks: not modal itself,
// nor a window that belongs to it (a menu or a message over it).
bool BlockedBy(xcb_window_t window, const QWindow* modal) {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    const auto found = std::find_if(windows.begin(), windows.end(), [window](const QWindow* shown) {
        return shown->isVisible() && shown->handle() != nullptr && shown->winId() == window;
    });
    if (found == windows.end() || (*found)->type() == Qt::Popup) {
        return false;
    }
    for (const QWindow* owner = *found; owner != nullptr; owner = owner->transientParent()) {
        if (owner == modal) {
            return false;
        }
    }
    return true;
}

} // namespace

void ModalKeeper::Install() {
    if (qGuiApp->nativeInterface<QNativeInterface::QX11Application>() != nullptr) {
        static ModalKeeper keeper;
        qGuiApp->installNativeEventFilter(&keeper);
    }
}

bool ModalKeeper::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    QWindow* modal = QGuiApplication::modalWindow();
    if (eventType != "xcb_generic_event_t" || modal == nullptr || !modal->isVisible()) {
        return false;
    }
    const auto modalId = static_cast<xcb_window_t>(modal->winId());
    auto* event = static_cast<xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        // The toolkit finds the window a key is for by the event's window: a window the modal one
        // blocks stands for the modal window.
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (BlockedBy(key->event, modal)) {
            key->event = modalId;
            key->child = XCB_NONE;
        }
        break;
    }
    case XCB_FOCUS_IN: {
        auto* focus = reinterpret_cast<xcb_focus_in_event_t*>(event);
        xcb_connection_t* connection =
            qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        if (focus->mode == XCB_NOTIFY_MODE_NORMAL && BlockedBy(focus->event, modal) &&
            StackedAbove(connection, focus->event, modalId)) {
            // A window is put on top when it is mapped; the toolkit keeps it shown throughout.
            xcb_unmap_window(connection, modalId);
            xcb_map_window(connection, modalId);
            xcb_flush(connection);
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace tamlo
