// @ts-check
/// <reference path="../../types/wispermoth.d.ts" />
// The reference page's script: one control for every message a page can post to wispermoth,
// and every call the shell makes, each showing what it received. A module on the page kit
// (kit/wispermoth.js), no build.
import * as shell from "../../kit/wispermoth.js";

/** @param {string} id */
function element(id) {
    const found = document.getElementById(id);
    if (!found) throw new Error(`no #${id}`);
    return found;
}

/** @param {string} id */
function input(id) {
    return /** @type {HTMLInputElement} */ (element(id));
}

function iconChoice() {
    return /** @type {HTMLSelectElement} */ (element("icon"));
}

/** Adds a line to the list of calls received from the shell. @param {string} text */
function received(text) {
    const item = document.createElement("li");
    item.textContent = text;
    const list = element("calls");
    list.append(item);
    list.scrollTop = list.scrollHeight;
}

/**
 * What the kit's functions return: whether the message went out. Outside the shell it is listed.
 * @param {boolean} sent @param {string} message
 */
function note(sent, message) {
    if (!sent) received(`(not sent) ${JSON.stringify(message)}`);
}

/**
 * The messages the kit has no function for: the page's own echo of a download's end and update.
 * @param {"update:done" | "update:fail" | `saved:${string}`} message
 */
function post(message) {
    if (shell.inShell) window.ipc?.postMessage(message);
    note(shell.inShell, message);
}

// What the shell said at start. The icon and top fields do not follow later changes: the
// events below do, and state() has them sent with the current values.
function showInfo() {
    const info = shell.info;
    element("outside").hidden = Boolean(info);
    if (!info) return;
    const list = element("info");
    for (const [name, value] of Object.entries(info)) {
        const term = document.createElement("dt");
        term.textContent = name;
        const definition = document.createElement("dd");
        definition.textContent = JSON.stringify(value);
        list.append(term, definition);
    }
    input("top").checked = info.top === "1";
    iconChoice().value = info.icon;
    input("autostart").checked = info.autostart === "1";
}

// The shell's calls, as the kit's events; each listed as the call the shell made.
const events = shell.events;
events.addEventListener("maxstate", ({ detail: maximized }) => {
    received(`shellMaxState(${maximized})`);
    element("max").textContent = maximized ? "\u2750" : "\u25a1";
    element("max").title = maximized ? "Restore" : "Maximise";
});
events.addEventListener("topstate", ({ detail: on }) => {
    received(`shellTopState(${on})`);
    input("top").checked = on;
});
events.addEventListener("saved", ({ detail: fileName }) => received(`shellSaved(${JSON.stringify(fileName)})`));
events.addEventListener("updatestate", ({ detail: ok }) => {
    received(`shellUpdateState(${ok})`);
    element("update-state").textContent = "update failed";
});
events.addEventListener("iconstate", ({ detail: icon }) => {
    received(`shellIconState(${JSON.stringify(icon)})`);
    iconChoice().value = icon;
});
events.addEventListener("windowschanged", ({ detail: pickerOpen }) => {
    received(`shellWindowsChanged(${pickerOpen})`);
    element("picker-state").textContent = pickerOpen ? "open" : "closed";
});
// The pointer over the maximise button, which the shell's snap area keeps from the page.
events.addEventListener("snapstate", ({ detail: state }) => {
    received(`shellSnapState(${JSON.stringify(state)})`);
    if (state) element("max").dataset.snap = state;
    else delete element("max").dataset.snap;
});
// A click on a notification posted with a tag: the page opens what the tag names.
events.addEventListener("notificationclick", ({ detail: tag }) => received(`shellNotificationClicked(${JSON.stringify(tag)})`));
events.addEventListener("autostartstate", ({ detail: on }) => {
    received(`shellAutostartState(${JSON.stringify(on ? "1" : "0")})`);
    input("autostart").checked = on;
});

// The controls.

// Title bar and grips: the shell runs the system's own move or size loop from the press. A
// second press on the title bar maximises or restores, like a double click on a native one.
for (const area of document.querySelectorAll("[data-press]")) {
    area.addEventListener("mousedown", (event) => {
        const press = /** @type {MouseEvent} */ (event);
        if (press.button !== 0 || press.target !== area) return;
        const what = area.getAttribute("data-press");
        if (what === "drag") note(press.detail === 2 ? shell.toggleMaximize() : shell.drag(), what);
        else note(shell.resize(/** @type {"n" | "nw" | "ne"} */ (what?.slice("resize:".length))), `${what}`);
    });
}
element("min").addEventListener("click", () => note(shell.minimize(), "min"));
element("max").addEventListener("click", () => note(shell.toggleMaximize(), "max"));
element("close").addEventListener("click", () => note(shell.close(), "close"));

input("top").addEventListener("change", () => note(shell.setAlwaysOnTop(input("top").checked), "top"));
iconChoice().addEventListener("change", () =>
    note(shell.setIcon(/** @type {WispermothIconVariant} */ (iconChoice().value)), iconChoice().value));
// Sent as typed: a path without its leading "/" opens nothing.
element("open-window").addEventListener("click", () =>
    note(shell.openWindow(/** @type {`/${string}`} */ (input("window-path").value)), "window:"));
element("open-picker").addEventListener("click", () =>
    note(shell.openPicker(/** @type {`/${string}`} */ (input("picker-path").value)), "picker:"));
// With a tag, a click on the notification comes back as "notificationclick". What the shell would
// not take (a line feed in the title, a tag of other characters) throws and is shown.
element("notify").addEventListener("click", () => {
    const tag = input("notify-tag").value;
    try {
        note(shell.notify(input("notify-title").value, input("notify-body").value, tag ? { tag } : {}), "notify:");
    } catch (error) {
        received(`(not sent) ${/** @type {Error} */ (error).message}`);
    }
});
element("saved").addEventListener("click", () => post(`saved:${input("saved-name").value}`));
element("update-done").addEventListener("click", () => post("update:done"));
element("update-fail").addEventListener("click", () => post("update:fail"));
input("autostart").addEventListener("change", () => note(shell.setAutostart(input("autostart").checked), "autostart"));

// The badge through the web's Badging API, as a page written for an installed web app sets it.
// The text goes in as typed: the API converts it, and rejects what is no count.
/** @param {() => Promise<void>} change */
function badge(change) {
    if (!("setAppBadge" in navigator)) {
        received("(not sent) no Badging API here");
        return;
    }
    change().then(
        () => { element("badge-state").textContent = ""; },
        (/** @type {Error} */ error) => { element("badge-state").textContent = error.name; });
}
element("set-badge").addEventListener("click", () =>
    badge(() => navigator.setAppBadge(/** @type {number} */ (/** @type {unknown} */ (input("badge-count").value)))));
element("flag-badge").addEventListener("click", () => badge(() => navigator.setAppBadge()));
element("clear-badge").addEventListener("click", () => badge(() => navigator.clearAppBadge()));

// Where the maximise button is, so that Windows 11 offers its snap layouts over it, kept right
// by the kit whatever moves it.
shell.trackSnapButton(element("max"));

showInfo();
// A page loaded in a maximised window, opened after a setting changed, or brought back from the
// back/forward cache learns the states it would otherwise only hear of at the next change.
const askState = () => shell.state().catch(() => {});
if (shell.supports("state")) {
    void askState();
    window.addEventListener("pageshow", (event) => { if (event.persisted) void askState(); });
}
