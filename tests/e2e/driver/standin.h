#pragma once
// The control channel into the stand-in runtime: WM_COPYDATA sent to its web view window, which
// raises the matching WebView2 event from its own message loop.

#include <windows.h>

#include <string_view>

namespace e2e {

enum class StandinCommand : ULONG_PTR {
    post_message = 1,   // payload: the page's message
    set_source = 2,     // payload: the page's new current address
    new_window = 3,     // payload: the requested address
    permission = 4,     // payload: the permission kind in decimal
    download = 5,       // payload: "uri\tproposed_path\tcompleted|interrupted|held[\tcontent_file]"
    post_messages = 6,  // payload: several messages separated by 0x1F, raised in one turn
    post_message_from = 7,  // payload: "source\ttext": a message whose posting page is `source`
    post_json = 8,          // payload: the posted value as JSON, which need not be a string
    process_failed = 9,     // payload: the failure kind in decimal (0: the browser process exited)
    release_controller = 10,  // payload: empty; completes the controller STANDIN_HOLD_CONTROLLER held
    reload = 11,              // payload: empty; the page reloads itself: a new document at the same address
    end_download = 12,        // payload: "completed|interrupted[\tcontent_file]"; ends the download held longest
    class_object = 13,        // payload: a CLSID in braces; the shell's thread asks COM for its class object
    context_menu = 14,        // payload: the default menu's item names, " " between, "-" a separator
    zoom = 15,                // payload: a zoom factor, as the user zoomed the page
    no_network = 16,          // payload: empty; from now on every http(s) document fails
    network_back = 17,        // payload: empty; documents load again
    start_navigation = 18,    // payload: an address the page starts to navigate to; set_source commits
    tab_out = 19,             // payload: "next" or "previous": Tab or Shift+Tab past the page's last or first element
    key = 20,                 // payload: "<key event kind> <virtual key>[ alt]": a key the browser takes first
};

// The stand-in's web view window inside a shell window, waiting for the web view to be built;
// null when none appears in time.
HWND wait_for_web_view(HWND shell_window);

// Delivers one command; false when the window did not accept it.
bool send_command(HWND web_view, StandinCommand command, std::string_view payload);

}  // namespace e2e
