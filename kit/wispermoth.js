// @ts-check
// wispermoth's page client: one function per message, the shell's calls as events, the four
// states as a promise, and the maximise button's rectangle kept right. An ES module with no
// dependencies (package.json beside it); wispermoth.d.ts declares it and docs/page-api.md
// describes the messages.
//
//   import * as shell from "wispermoth-kit";
//   if (shell.inShell) shell.events.addEventListener("maxstate", (e) => draw(e.detail));
//
// Importing it never throws: in a worker or during server rendering it finds no page and does
// nothing. A function given what the shell would not take throws before posting anything.

/** @typedef {import("./wispermoth").ShellInfo} ShellInfo */
/** @typedef {import("./wispermoth").IconVariant} IconVariant */
/** @typedef {import("./wispermoth").State} State */

const originHost = "wispermoth.app";
/** The version from which the shell understands "notify-tag:". */
const taggedSince = [0, 4, 0];
const iconWords = ["", "bubble", "wordmark", "peek", "says"];

/**
 * The page's window, or nothing where there is none (a worker, a server).
 * @type {(Window & { ipc?: { postMessage(message: string): void }, shellInfo?: ShellInfo } & Record<PropertyKey, any>) | undefined}
 */
const page = typeof window === "object" && window !== null && typeof document === "object" ? window : undefined;

function onOrigin() {
    const host = location.hostname;
    // Another port is another origin, which the shell treats as another site.
    return location.protocol === "https:" && location.port === "" &&
        (host === originHost || host.endsWith(`.${originHost}`));
}

/** True in a top-level document of the application inside the shell (or in mock mode): only there do messages arrive. */
export let inShell = page !== undefined && page === page.top && onOrigin() &&
    typeof page.ipc?.postMessage === "function" && typeof page.shellInfo === "object" && page.shellInfo !== null;

/** What the shell said about itself at its start, or null outside the shell. */
export let info = inShell && page ? /** @type {ShellInfo} */ (page.shellInfo) : null;

/** inShell and info as one value, so that testing one narrows the other. */
export let session = /** @type {import("./wispermoth").Session} */ (inShell ? { inShell: true, info } : { inShell: false, info: null });

/** @type {(message: string) => void} */
let send = (message) => page?.ipc?.postMessage(message);

/**
 * Whether the shell understands an optional message ("state", "badge", "autostart", "snap", ...).
 * @param {keyof ShellInfo} word
 */
export function supports(word) {
    return info !== null && typeof info[word] === "string";
}

/** Whether the shell says this version or a later one. @param {number[]} wanted */
function atLeast(wanted) {
    const have = (info?.version ?? "").split(".").map(Number);
    for (const [i, part] of wanted.entries()) if ((have[i] ?? 0) !== part) return (have[i] ?? 0) > part;
    return true;
}

/** @param {string} message */
function post(message) {
    if (!inShell) return false;
    send(message);
    return true;
}

/**
 * Throws when the check fails: what the shell would not take is never posted.
 * @param {boolean} ok @param {string} what
 * @returns {asserts ok}
 */
function check(ok, what) {
    if (!ok) throw new TypeError(`wispermoth: ${what}`);
}

/** @param {unknown} on @param {string} name */
function flag(on, name) {
    check(typeof on === "boolean", `${name} takes true or false`);
    return on;
}

/** @param {unknown} path @param {string} name */
function appPath(path, name) {
    check(typeof path === "string" && /^\/(?!\/)[\x21-\x7e]*$/.test(path),
        `${name} takes a path of the origin: "/" first, not "//", printable ASCII without spaces`);
    return path;
}

export const minimize = () => post("min");
export const toggleMaximize = () => post("max");
export const drag = () => post("drag");
export const close = () => post("close");
/** @param {"n" | "nw" | "ne"} edge */
export function resize(edge) {
    check(edge === "n" || edge === "nw" || edge === "ne", `resize takes "n", "nw" or "ne"`);
    return post(`resize:${edge}`);
}
/** @param {boolean} on */
export const setAlwaysOnTop = (on) => post(flag(on, "setAlwaysOnTop") ? "top:1" : "top:0");
/** @param {IconVariant} word */
export function setIcon(word) {
    check(iconWords.includes(word), `setIcon takes one of ${JSON.stringify(iconWords)}`);
    return post(word);
}
/** @param {`/${string}`} path */
export const openWindow = (path) => post(`window:${appPath(path, "openWindow")}`);
/** @param {`/${string}`} path */
export const openPicker = (path) => post(`picker:${appPath(path, "openPicker")}`);
/**
 * The title, the body after it, and a tag that a click hands back (the "notificationclick" event).
 * @param {string} title @param {string} [body] @param {{ tag?: string }} [options]
 */
export function notify(title, body = "", options = {}) {
    check(typeof title === "string" && !title.includes("\n"), "notify takes a title without line feeds");
    check(typeof body === "string", "notify takes a text as the body");
    const tag = options?.tag;
    check(tag === undefined || (typeof tag === "string" && /^[A-Za-z0-9._:-]{1,64}$/.test(tag)),
        "a notification's tag is 1 to 64 ASCII letters, digits, \"-\", \"_\", \".\" or \":\"");
    const text = `${title}${body ? `\n${body}` : ""}`;
    // An older shell ignores the tagged message: it shows the notification without the tag.
    return post(tag !== undefined && atLeast(taggedSince) ? `notify-tag:${tag}\n${title}\n${body}` : `notify:${text}`);
}
/** @param {boolean} on */
export const setAutostart = (on) => post(flag(on, "setAutostart") ? "autostart:1" : "autostart:0");

/** No argument: a badge without a number; 0 takes it away. Throws a RangeError for what is no count. @param {number} [count] */
export function setBadge(count) {
    if (count === undefined) return post("badge:");
    if (!Number.isSafeInteger(count) || count < 0) throw new RangeError(`setBadge: ${count} is no count`);
    return post(`badge:${count}`);
}

// The shell's calls, each turned into an event with what it says as the detail.
/** @type {Record<string, [string, (value: unknown) => unknown]>} */
const calls = {
    shellMaxState: ["maxstate", Boolean],
    shellTopState: ["topstate", Boolean],
    shellIconState: ["iconstate", String],
    shellAutostartState: ["autostartstate", (on) => on === "1"],
    shellWindowsChanged: ["windowschanged", Boolean],
    shellSaved: ["saved", String],
    shellUpdateState: ["updatestate", Boolean],
    shellSnapState: ["snapstate", String],
    shellNotificationClicked: ["notificationclick", String],
};

/**
 * What every copy of this module in a document shares (two libraries, two addresses): the
 * events, the one snap tracker and the one state() question.
 * @typedef {{ events: EventTarget, tracker?: object, asking?: Promise<State> | null }} Hub
 */
const hubKey = Symbol.for("wispermoth.kit.1");

/**
 * Installs the shell's functions as configurable window properties: a page's own declaration of
 * the same name, before or after, never fails to load, and a page's function is still called,
 * after the event. docs/page-api.md tells which declarations keep the events.
 * @param {NonNullable<typeof page>} win @param {EventTarget} target
 */
function installCalls(win, target) {
    for (const [name, [type, convert]] of Object.entries(calls)) {
        /** @type {Function | undefined} */
        let own = typeof win[name] === "function" ? win[name] : undefined;
        let running = false;
        /** @param {unknown} value */
        const call = function (value) {
            // A page that wrapped the global calls it again from inside its own function.
            if (running) return;
            running = true;
            try {
                target.dispatchEvent(new CustomEvent(type, { detail: convert(value) }));
                if (own) own.call(win, value);
            } finally {
                running = false;
            }
        };
        const existing = Object.getOwnPropertyDescriptor(win, name);
        if (!existing || existing.configurable) {
            Object.defineProperty(win, name, {
                configurable: true,
                enumerable: true,
                get: () => call,
                set: (f) => { own = typeof f === "function" && f !== call ? f : undefined; },
            });
        } else if (existing.writable) {
            // A var or function declared by a classic script before: assigned, never redefined.
            win[name] = call;
        }
    }
}

/** @returns {Hub} */
function hub() {
    if (!page) return fallback;
    return (page[hubKey] ??= (() => {
        const shared = { events: new EventTarget(), tracker: undefined, asking: null };
        if (inShell) installCalls(page, shared.events);
        return shared;
    })());
}
/** @type {Hub} */
const fallback = { events: new EventTarget() };

/** Where the shell's calls arrive: maxstate, topstate, iconstate, autostartstate, windowschanged, saved, updatestate, snapstate, notificationclick. */
export const events = hub().events;

/**
 * The window's maximised state, always on top, the icon and sign-in start as they are now. Rejects
 * outside the shell, on a shell that does not say "state", and after `timeout` milliseconds
 * without the whole answer.
 * @param {{ timeout?: number }} [options]
 * @returns {Promise<State>}
 */
export function state(options = {}) {
    const timeout = options?.timeout;
    check(timeout === undefined || (typeof timeout === "number" && timeout >= 0), "state's timeout is a number of milliseconds");
    if (!supports("state")) return Promise.reject(new Error("this shell does not answer state:"));
    const shared = hub();
    // One answer for every question asked before it came, from any copy of the module.
    const asking = shared.asking ??= new Promise((resolve) => {
        /** @type {Record<string, unknown>} */
        const got = {};
        /** @type {Record<string, string>} */
        const keys = { maxstate: "maximized", topstate: "alwaysOnTop", iconstate: "icon", autostartstate: "autostart" };
        /** @param {Event} event */
        const hear = (event) => {
            got[keys[event.type]] = /** @type {CustomEvent} */ (event).detail;
            if (Object.keys(got).length < 4) return;
            for (const type of Object.keys(keys)) events.removeEventListener(type, hear);
            shared.asking = null;
            resolve(/** @type {State} */ (/** @type {unknown} */ (got)));
        };
        for (const type of Object.keys(keys)) events.addEventListener(type, hear);
    });
    // Asked each time: an earlier question may have been posted while the page was elsewhere.
    post("state:");
    if (timeout === undefined) return asking;
    return Promise.race([asking, new Promise((_, reject) => {
        setTimeout(() => reject(new Error(`state: no answer in ${timeout} ms`)), timeout);
    })]);
}

/** Whether the user can see the element and reach its centre with the pointer. @param {Element} element */
function reachable(element) {
    if (!element.isConnected) return false;
    if (element.checkVisibility && !element.checkVisibility({ visibilityProperty: true, opacityProperty: true }))
        return false;
    const box = element.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return false;
    const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
    return hit !== null && element.contains(hit);
}

/**
 * Keeps the shell told where the element (the page's maximise button) is, so that Windows 11
 * offers its snap layouts over it: after resizes, moves without a resize (anything else in the
 * page changing), scrolls, zoom, DPI changes and a back/forward restore. While the user cannot
 * see it (hidden, invisible, transparent, covered at its centre) it is withdrawn. One tracker per
 * window: the latest call wins. Returns a function that stops it and withdraws the rectangle,
 * which does nothing once a later call has taken over.
 * @param {Element} element
 */
export function trackSnapButton(element) {
    check(typeof Element === "function" && element instanceof Element, "trackSnapButton takes an element");
    if (!supports("snap")) return () => {};
    const shared = hub();
    /** @type {{ stop(): void }} */
    const tracker = { stop: () => {} };
    /** @type {{ stop(): void } | undefined} */ (shared.tracker)?.stop();
    shared.tracker = tracker;
    /** @type {string | null} */
    let sent = null;
    let queued = 0;
    /** @param {boolean} force */
    const send = (force) => {
        const box = element.getBoundingClientRect();
        const rect = [box.left, box.top, box.width, box.height].map(Math.round);
        const message = reachable(element) ? `snap:${rect.join(" ")}` : "snap:";
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
    /** @param {PageTransitionEvent} event */
    const restored = (event) => (event.persisted ? send(true) : soon());
    const resized = new ResizeObserver(soon);
    resized.observe(element);
    resized.observe(document.documentElement);
    // A move without a resize: something before the button changed, or a transition ran; and
    // anything that hides or covers it.
    const changed = new MutationObserver(soon);
    changed.observe(document.documentElement, { subtree: true, childList: true, attributes: true, characterData: true });
    /** @type {[EventTarget | null, string][]} */
    const listened = [
        [window, "resize"], [window, "scroll"], [window, "transitionend"], [window, "animationend"],
        [window.visualViewport, "resize"], [window.visualViewport, "scroll"], [document.fonts, "loadingdone"],
    ];
    for (const [target, type] of listened) target?.addEventListener(type, soon, { capture: true, passive: true });
    window.addEventListener("pageshow", restored);
    // Zoom and a monitor of another DPI change the device pixel ratio; the query is made anew each time.
    /** @type {MediaQueryList | null} */
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
    tracker.stop = () => {
        resized.disconnect();
        changed.disconnect();
        for (const [target, type] of listened) target?.removeEventListener(type, soon, { capture: true });
        window.removeEventListener("pageshow", restored);
        resolution?.removeEventListener("change", onResolution);
        cancelAnimationFrame(queued);
    };
    send(true);
    return () => {
        if (shared.tracker !== tracker) return;
        tracker.stop();
        shared.tracker = undefined;
        post("snap:");
    };
}

/**
 * For development on localhost without the shell: the kit then answers its own calls in a plain
 * browser tab the way the shell would, through the same shell… functions and events. Does
 * nothing and returns false anywhere else, and inside the shell.
 * @param {{ info?: Partial<ShellInfo> }} [options]
 */
export function mock(options = {}) {
    const host = page?.location.hostname ?? "";
    if (!page || inShell || !/^(localhost|127\.0\.0\.1|\[::1\])$|\.localhost$/.test(host)) return false;
    const shared = hub();
    /** @type {ShellInfo} */
    const mocked = {
        version: "0.4.0", build: "windows", desktop: 1, icon: "", top: "0", frame: "1", update: "1", resize: "1",
        windows: "1", notify: "1", picker: "1", snap: "1", state: "1", badge: "1", autostart: "0", ...options.info,
    };
    const current = { max: false, top: mocked.top === "1", icon: mocked.icon, autostart: mocked.autostart === "1" };
    inShell = true;
    info = mocked;
    session = { inShell: true, info: mocked };
    installCalls(page, shared.events);
    /** @param {string} name @param {unknown} value */
    const call = (name, value) => setTimeout(() => page[name]?.(value));
    /** @type {Record<string, () => void>} */
    const answers = {
        max: () => call("shellMaxState", (current.max = !current.max)),
        "top:0": () => call("shellTopState", (current.top = false)),
        "top:1": () => call("shellTopState", (current.top = true)),
        "autostart:0": () => call("shellAutostartState", (current.autostart = false) ? "1" : "0"),
        "autostart:1": () => call("shellAutostartState", (current.autostart = true) ? "1" : "0"),
        "state:": () => {
            call("shellMaxState", current.max);
            call("shellTopState", current.top);
            call("shellIconState", current.icon);
            call("shellAutostartState", current.autostart ? "1" : "0");
        },
    };
    send = (message) => {
        if (iconWords.includes(message)) call("shellIconState", (current.icon = /** @type {IconVariant} */ (message)));
        else if (message.startsWith("window:") || message.startsWith("picker:")) page.open(message.slice(7));
        else if (message.startsWith("notify-tag:")) {
            const [tag, title, ...body] = message.slice(11).split("\n");
            console.info(`wispermoth mock: notification "${title}" (call shellNotificationClicked('${tag}') to click it)`, body.join("\n"));
        } else if (message.startsWith("notify:")) console.info(`wispermoth mock: notification ${message.slice(7)}`);
        else answers[message]?.();
    };
    return true;
}
