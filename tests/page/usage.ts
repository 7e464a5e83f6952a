// Compiled with --strict --noEmit against types/wispermoth.d.ts and the page kit's declarations: what
// a page writes must type-check, and each @ts-expect-error line is a mistake the declarations must catch.

import * as shell from "../../kit/wispermoth.js";

shell.events.addEventListener("maxstate", (e) => console.log(e.detail === true));
void shell.state().then((s) => console.log(s.icon === "peek", s.autostart === true));
// @ts-expect-error only the top edge and corners resize
shell.resize("s");
// @ts-expect-error a window path starts with "/"
shell.openWindow("chat");
// @ts-expect-error there is no such flag
shell.supports("stat");

const info = window.shellInfo;
if (info) {
    const onTop: boolean = info.top === "1";
    const icon: "" | "bubble" | "wordmark" | "peek" | "says" = info.icon;
    console.log(info.version, info.build, info.desktop, onTop, icon, info.frame, info.update);
    console.log(info.resize, info.windows, info.notify, info.picker, info.snap, info.autostart === "1");
    // @ts-expect-error the fields are strings, not numbers
    const wrong: number = info.top;
    console.log(wrong);
}

// Not "ipc": a top-level declaration of that name throws inside the shell.
const bridge = window.ipc;
if (bridge) {
    const messages: WispermothPageMessage[] = ["", "bubble", "window:/chat?id=7", "picker:/pick", "top:1",
        "notify:Title\nBody", "update:done", "update:fail", "min", "max", "drag", "close", "saved:a.txt",
        "resize:n", "resize:nw", "resize:ne", "snap:1100 0 40 32", "snap:", "state:", "badge:", "badge:12",
        "badge:0", "autostart:1", "autostart:0"];
    messages.forEach((message) => bridge.postMessage(message));
    // @ts-expect-error messages are case-sensitive
    bridge.postMessage("Top:1");
    // @ts-expect-error a window path starts with "/"
    bridge.postMessage("window:chat");
    // @ts-expect-error only the top edge and corners resize
    bridge.postMessage("resize:s");
    // @ts-expect-error the rectangle is four numbers
    bridge.postMessage("snap:1100 0 40");
    // @ts-expect-error autostart is switched with 0 or 1
    bridge.postMessage("autostart:on");
    // @ts-expect-error the bridge cannot be replaced
    window.ipc = undefined;
}

window.shellMaxState = (maximized) => console.log(maximized ? "maximised" : "restored");
window.shellTopState = (on) => console.log(on);
window.shellSaved = (fileName) => console.log(fileName.length);
window.shellUpdateState = (ok) => console.log(ok);
window.shellIconState = (icon) => console.log(icon === "peek");
window.shellWindowsChanged = (pickerOpen) => console.log(pickerOpen);
window.shellSnapState = (state) => console.log(state === "hover");
window.shellAutostartState = (on) => console.log(on === "1");
void navigator.setAppBadge(3).then(() => navigator.clearAppBadge());
void navigator.setAppBadge();
// @ts-expect-error the state is a string
window.shellAutostartState = (on: boolean) => on;
// @ts-expect-error there is no such pointer state
window.shellSnapState = (state) => state === "down";
// @ts-expect-error shellSaved receives a file name
window.shellSaved = (fileName: number) => console.log(fileName);
// @ts-expect-error there is no such icon word
window.shellIconState = (icon) => icon === "moth";
