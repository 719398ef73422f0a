"""What the Wayland test needs of a compositor that no packaged tool gives:
    wayland_probe.py click X Y   a click of the left button at X Y of a wlroots compositor's
                                 1024 x 768 layout, through a virtual pointer of its own
    wayland_probe.py views       sway's windows (swaymsg -t get_tree on stdin), bottom first:
                                 shell, focus, frame x y w h, title
    wayland_probe.py about       presses the game's "About" link over the accessibility bus"""
import json, os, socket, struct, sys, time


def click(x, y):  # wl_display 1, wl_registry 2, wl_callback 3, wl_seat 4, manager 5, pointer 6
    wire = socket.socket(socket.AF_UNIX)
    wire.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
    def send(obj, op, data=b""):  # a request: object, size and opcode, arguments
        wire.sendall(struct.pack("<II", obj, 8 + len(data) << 16 | op) + data)

    send(1, 1, struct.pack("<I", 2))  # get_registry
    send(1, 0, struct.pack("<I", 3))  # sync: its done event ends the list of globals
    events = b""
    while struct.pack("<IHH", 3, 0, 12) not in events:  # wl_callback.done, 12 bytes
        events += wire.recv(65536)
    for name, new in (("wl_seat", 4), ("zwlr_virtual_pointer_manager_v1", 5)):
        # A wl_registry.global event holds the global's number, then the interface as a string
        # (length with its NUL, the NUL-padded text), as wl_registry.bind wants them.
        text = struct.pack("<I", len(name) + 1) + name.encode().ljust(len(name) // 4 * 4 + 4, b"\0")
        at = events.index(text) - 4
        send(2, 0, events[at : at + 4 + len(text)] + struct.pack("<II", 1, new))
    send(5, 0, struct.pack("<II", 4, 6))  # create_virtual_pointer on the seat
    time.sleep(0.3)  # the program takes the new pointer
    # motion_absolute, then press and release of BTN_LEFT, each ended by a frame
    for op, args in ((1, (0, x, y, 1024, 768)), (2, (0, 0x110, 1)), (2, (0, 0x110, 0))):
        send(6, op, struct.pack(f"<{len(args)}I", *args))
        send(6, 4, struct.pack("<I", 0))
        time.sleep(0.2)
    send(6, 8)  # destroy


def views(node):
    if node.get("type") == "floating_con":
        r, d = node["rect"], node["deco_rect"]
        frame = f"{r['x']} {r['y'] - d['height']} {r['width']} {r['height'] + d['height']}"
        yield f"{node['shell']} {'focused' if node['focused'] else '-'} {frame} {node['name']}"
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from views(child)


if sys.argv[1] == "click":
    click(int(sys.argv[2]), int(sys.argv[3]))
elif sys.argv[1] == "views":
    print("\n".join(views(json.load(sys.stdin))))
else:  # about
    from x_desktop import application, tree

    next(n for n in tree(application()) if n.name == "About").queryAction().doAction(0)
