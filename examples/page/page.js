// @ts-check
/// <reference path="../../types/wispermoth.d.ts" />
// The reference page's script: one control for every message a page can post to wispermoth,
// and every function the shell calls, each showing what it received. Plain script, no build.
"use strict";

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
 * Posts a message to the shell. Outside the shell there is no window.ipc; the message is listed.
 * @param {WispermothPageMessage} message
 */
function post(message) {
    if (window.ipc) window.ipc.postMessage(message);
    else received(`(not sent) ${JSON.stringify(message)}`);
}

// What the shell said at start. The icon and top fields do not follow later changes: the
// shell... functions below do, and "state:" at load has them called with the current values.
function showInfo() {
    const info = window.shellInfo;
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

// The functions the shell calls. Each takes at most one argument and returns nothing.

window.shellMaxState = (maximized) => {
    received(`shellMaxState(${maximized})`);
    element("max").textContent = maximized ? "\u2750" : "\u25a1";
    element("max").title = maximized ? "Restore" : "Maximise";
};

window.shellTopState = (on) => {
    received(`shellTopState(${on})`);
    input("top").checked = on;
};

window.shellSaved = (fileName) => {
    received(`shellSaved(${JSON.stringify(fileName)})`);
};

window.shellUpdateState = (ok) => {
    received(`shellUpdateState(${ok})`);
    element("update-state").textContent = "update failed";
};

window.shellIconState = (icon) => {
    received(`shellIconState(${JSON.stringify(icon)})`);
    iconChoice().value = icon;
};

window.shellWindowsChanged = (pickerOpen) => {
    received(`shellWindowsChanged(${pickerOpen})`);
    element("picker-state").textContent = pickerOpen ? "open" : "closed";
};

// The pointer over the maximise button, which the shell's snap area keeps from the page.
window.shellSnapState = (state) => {
    received(`shellSnapState(${JSON.stringify(state)})`);
    if (state) element("max").dataset.snap = state;
    else delete element("max").dataset.snap;
};

window.shellAutostartState = (on) => {
    received(`shellAutostartState(${JSON.stringify(on)})`);
    input("autostart").checked = on === "1";
};

// The controls.

// Title bar and grips: the shell runs the system's own move or size loop from the press. A
// second press on the title bar maximises or restores, like a double click on a native one.
for (const area of document.querySelectorAll("[data-press]")) {
    area.addEventListener("mousedown", (event) => {
        const press = /** @type {MouseEvent} */ (event);
        if (press.button !== 0 || press.target !== area) return;
        const message = /** @type {WispermothPageMessage} */ (area.getAttribute("data-press"));
        post(message === "drag" && press.detail === 2 ? "max" : message);
    });
}
for (const button of document.querySelectorAll("button[data-message]")) {
    const message = /** @type {WispermothPageMessage} */ (button.getAttribute("data-message"));
    button.addEventListener("click", () => post(message));
}

input("top").addEventListener("change", () => post(input("top").checked ? "top:1" : "top:0"));
iconChoice().addEventListener("change", () => post(/** @type {WispermothIconVariant} */ (iconChoice().value)));
// Sent as typed: a path without its leading "/" opens nothing.
element("open-window").addEventListener("click", () =>
    post(/** @type {WispermothPageMessage} */ (`window:${input("window-path").value}`)));
element("open-picker").addEventListener("click", () =>
    post(/** @type {WispermothPageMessage} */ (`picker:${input("picker-path").value}`)));
element("notify").addEventListener("click", () => {
    const body = input("notify-body").value;
    post(`notify:${input("notify-title").value}${body ? `\n${body}` : ""}`);
});
element("saved").addEventListener("click", () => post(`saved:${input("saved-name").value}`));
element("update-done").addEventListener("click", () => post("update:done"));
element("update-fail").addEventListener("click", () => post("update:fail"));
input("autostart").addEventListener("change", () => post(input("autostart").checked ? "autostart:1" : "autostart:0"));

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

// Where the maximise button is, so that Windows 11 offers its snap layouts over it; sent again
// whenever the button's size or the window's width moves it.
function sendSnapArea() {
    const box = element("max").getBoundingClientRect();
    const [x, y, width, height] = [box.left, box.top, box.width, box.height].map(Math.round);
    post(`snap:${x} ${y} ${width} ${height}`);
}
if (window.shellInfo?.snap === "1") {
    new ResizeObserver(sendSnapArea).observe(element("max"));
    window.addEventListener("resize", sendSnapArea);
}

showInfo();
// A page reloaded in a maximised window, or opened after a setting changed, learns the states
// it would otherwise only hear of at the next change.
if (window.shellInfo) post("state:");
