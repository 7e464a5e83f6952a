// wispermoth's page client: one function per message, the shell's calls as events, the four
// states as a promise, and the maximise button's rectangle kept right. An ES module with no
// dependencies; copy it beside the page's scripts. docs/page-api.md describes the messages.
//
//   import * as shell from "./wispermoth.js";
//   if (shell.inShell) shell.events.addEventListener("maxstate", (e) => draw(e.detail));

const originHost = "wispermoth.app";

function onOrigin() {
    const host = location.hostname;
    return location.protocol === "https:" && (host === originHost || host.endsWith(`.${originHost}`));
}

/** True in a top-level document of the application inside the shell: only there do messages arrive. */
export const inShell = window === window.top && onOrigin() && typeof window.ipc?.postMessage === "function" &&
    typeof window.shellInfo === "object" && window.shellInfo !== null;

/** What the shell said about itself at its start, or null outside the shell. */
export const info = inShell ? window.shellInfo : null;

/** Whether the shell understands an optional message ("state", "badge", "autostart", "snap", ...). */
export function supports(word) {
    return info !== null && typeof info[word] === "string";
}

function post(message) {
    if (!inShell) return false;
    window.ipc.postMessage(message);
    return true;
}

export const minimize = () => post("min");
export const toggleMaximize = () => post("max");
export const drag = () => post("drag");
export const close = () => post("close");
export const resize = (edge) => post(`resize:${edge}`);
export const setAlwaysOnTop = (on) => post(on ? "top:1" : "top:0");
export const setIcon = (word) => post(word);
export const openWindow = (path) => post(`window:${path}`);
export const openPicker = (path) => post(`picker:${path}`);
export const notify = (title, body = "") => post(`notify:${title}${body ? `\n${body}` : ""}`);
export const setAutostart = (on) => post(on ? "autostart:1" : "autostart:0");

/** No argument: a badge without a number; 0 takes it away. Throws a RangeError for what is no count. */
export function setBadge(count) {
    if (count === undefined) return post("badge:");
    if (!Number.isSafeInteger(count) || count < 0) throw new RangeError(`setBadge: ${count} is no count`);
    return post(`badge:${count}`);
}

// The shell's calls, each turned into an event with what it says as the detail.
const calls = {
    shellMaxState: ["maxstate", Boolean],
    shellTopState: ["topstate", Boolean],
    shellIconState: ["iconstate", String],
    shellAutostartState: ["autostartstate", (on) => on === "1"],
    shellWindowsChanged: ["windowschanged", Boolean],
    shellSaved: ["saved", String],
    shellUpdateState: ["updatestate", Boolean],
    shellSnapState: ["snapstate", String],
};

// One hub per document, shared by every copy of this module a page loads (two libraries, two
// addresses), so that the globals are installed once.
const hubKey = Symbol.for("wispermoth.kit");

function installHub() {
    const target = new EventTarget();
    for (const [name, [type, convert]] of Object.entries(calls)) {
        // A function the page set itself, before or after: still called, after the event.
        let own = typeof window[name] === "function" ? window[name] : undefined;
        let running = false;
        const call = function (value) {
            // A page that wrapped the global calls it again from inside its own function.
            if (running) return;
            running = true;
            try {
                target.dispatchEvent(new CustomEvent(type, { detail: convert(value) }));
                if (own) own.call(window, value);
            } finally {
                running = false;
            }
        };
        try {
            Object.defineProperty(window, name, {
                configurable: false,
                enumerable: true,
                get: () => call,
                set: (f) => { own = typeof f === "function" && f !== call ? f : undefined; },
            });
        } catch {
            // A top-level function declaration of that name cannot be redefined, only assigned.
            window[name] = call;
        }
    }
    return target;
}

/** Where the shell's calls arrive: maxstate, topstate, iconstate, autostartstate, windowschanged, saved, updatestate, snapstate. */
export const events = (window[hubKey] ??= inShell ? installHub() : new EventTarget());

// One answer for every question asked before it came.
let asking = null;

/**
 * The window's maximised state, always on top, the icon and sign-in start as they are now. Rejects
 * outside the shell and on a shell that does not say "state".
 */
export function state() {
    if (!supports("state")) return Promise.reject(new Error("this shell does not answer state:"));
    asking ??= new Promise((resolve) => {
        const got = {};
        const keys = { maxstate: "maximized", topstate: "alwaysOnTop", iconstate: "icon", autostartstate: "autostart" };
        const hear = (event) => {
            got[keys[event.type]] = event.detail;
            if (Object.keys(got).length < 4) return;
            for (const type of Object.keys(keys)) events.removeEventListener(type, hear);
            asking = null;
            resolve(got);
        };
        for (const type of Object.keys(keys)) events.addEventListener(type, hear);
    });
    // Asked each time: an earlier question may have been posted while the page was elsewhere.
    post("state:");
    return asking;
}

/**
 * Keeps the shell told where the element (the page's maximise button) is, so that Windows 11
 * offers its snap layouts over it: after resizes, moves without a resize (anything else in the
 * page changing), scrolls, zoom, DPI changes and a back/forward restore. Hidden, it is withdrawn.
 * Returns a function that stops it and withdraws the rectangle.
 */
export function trackSnapButton(element) {
    if (!supports("snap")) return () => {};
    let sent = null;
    let queued = 0;
    const send = (force) => {
        const box = element.getBoundingClientRect();
        const rect = [box.left, box.top, box.width, box.height].map(Math.round);
        const message = element.isConnected && rect[2] > 0 && rect[3] > 0 ? `snap:${rect.join(" ")}` : "snap:";
        if (!force && message === sent) return;
        sent = message;
        post(message);
    };
    const soon = () => {
        queued ||= requestAnimationFrame(() => {
            queued = 0;
            send(false);
        });
    };
    // The shell forgets the rectangle with every new document, a restored one included.
    const restored = (event) => (event.persisted ? send(true) : soon());
    const resized = new ResizeObserver(soon);
    resized.observe(element);
    resized.observe(document.documentElement);
    // A move without a resize: something before the button changed, or a transition ran.
    const changed = new MutationObserver(soon);
    changed.observe(document.documentElement, { subtree: true, childList: true, attributes: true, characterData: true });
    const listened = [
        [window, "resize"], [window, "scroll"], [window, "transitionend"], [window, "animationend"],
        [window.visualViewport, "resize"], [window.visualViewport, "scroll"], [document.fonts, "loadingdone"],
    ].filter(([target]) => target);
    for (const [target, type] of listened) target.addEventListener(type, soon, { capture: true, passive: true });
    window.addEventListener("pageshow", restored);
    // Zoom and a monitor of another DPI change the device pixel ratio; the query is made anew each time.
    let resolution = null;
    const watchResolution = () => {
        resolution?.removeEventListener("change", onResolution);
        resolution = matchMedia(`(resolution: ${devicePixelRatio}dppx)`);
        resolution.addEventListener("change", onResolution);
    };
    const onResolution = () => {
        watchResolution();
        soon();
    };
    watchResolution();
    send(true);
    return () => {
        resized.disconnect();
        changed.disconnect();
        for (const [target, type] of listened) target.removeEventListener(type, soon, { capture: true });
        window.removeEventListener("pageshow", restored);
        resolution.removeEventListener("change", onResolution);
        cancelAnimationFrame(queued);
        post("snap:");
    };
}
