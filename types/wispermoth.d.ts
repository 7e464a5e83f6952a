// Type declarations for a page shown by the wispermoth desktop shell, version 0.4.0: what the
// shell defines before the page's scripts run, the messages the page can post, and the functions
// the shell calls in the page. docs/page-api.md describes each of them; "@since" says from which
// version of the shell. Include this file in the page's TypeScript project (a "files" or
// "include" entry, or a triple-slash reference); it declares globals only. The page kit's module
// (kit/wispermoth.js) has its own declarations beside it, written on these.
//
// What the template-literal types cannot reject, and the shell ignores without an answer: a
// path with a space or a character outside ASCII, or starting with "//" (`window:/${string}`);
// a count or rectangle with a fraction, a sign, an exponent or a leading zero (`badge:${number}`,
// `snap:${number} ...`); a count above 2^53-1; a notification of any length or character.

/** An icon variant word. The empty word is the default icon. */
type WispermothIconVariant = "" | "bubble" | "wordmark" | "peek" | "says";

/** Every message the shell acts on. Any other text is ignored without an answer. @since 0.2.13 unless said */
type WispermothPageMessage =
    | WispermothIconVariant
    | `window:/${string}`
    | `picker:/${string}`
    | "top:0"
    | "top:1"
    | `notify:${string}`
    /**
     * A notification whose click calls shellNotificationClicked with the tag: 1 to 64 of A-Z a-z
     * 0-9 - _ . : then a line feed, then what "notify:" takes. @since 0.4.0
     */
    | `notify-tag:${string}\n${string}`
    | "update:done"
    | "update:fail"
    | "min"
    | "max"
    | "drag"
    | "close"
    | `saved:${string}`
    | "resize:n"
    | "resize:nw"
    | "resize:ne"
    /** "snap:" alone withdraws the maximise button's rectangle. @since 0.3.0 */
    | "snap:"
    /**
     * The maximise button's left, top, width and height in CSS pixels. The numbers must be
     * integers (round them): a fraction, or anything else, makes the shell drop the message.
     * @since 0.3.0
     */
    | `snap:${number} ${number} ${number} ${number}`
    /**
     * Asks for shellMaxState, shellTopState, shellIconState and shellAutostartState with the
     * current values, in this window; sign-in start is read from the registry anew. @since 0.3.0
     */
    | "state:"
    /**
     * The unread badge on every window's taskbar button: "badge:" alone is a badge without a
     * number, "badge:" and a whole count a number, "badge:0" takes it away. @since 0.3.0
     */
    | "badge:"
    | `badge:${number}`
    /** Start at sign-in, or no longer. @since 0.3.0 */
    | "autostart:0"
    | "autostart:1";

/**
 * The shellInfo fields that say the shell understands an optional message: test before sending.
 * "frame" to "picker" are in every version; "snap", "state", "badge" and "autostart" from 0.3.0
 * (a shell that says 0.2.13 may lack them, or have them without saying so).
 */
type WispermothOptionalMessage =
    "frame" | "update" | "resize" | "windows" | "notify" | "picker" | "snap" | "state" | "badge" | "autostart";

/**
 * What the shell tells the page about itself, as it was when the shell started. From 0.3.0 only
 * the application's top-level documents (https, the origin or a subdomain) get it: not frames,
 * not other sites. A 0.2.13 shell gave it to every top-level document, whatever its site.
 */
interface WispermothShellInfo {
    /** The shell's version as major.minor.patch, "0.4.0" for this one. */
    readonly version: string;
    readonly build: "windows";
    readonly desktop: 1;
    /** The icon variant at the shell's start; later changes come through shellIconState. */
    readonly icon: WispermothIconVariant;
    /** Always on top at the shell's start; later changes come through shellTopState. */
    readonly top: "0" | "1";
    /** Frameless window that the page moves with "drag". */
    readonly frame: "1";
    /** Self-update from a download of /download/wispermoth.exe. */
    readonly update: "1";
    /** Resizing from the top edge and corners with "resize:". */
    readonly resize: "1";
    /** Extra windows with "window:". */
    readonly windows: "1";
    /** Desktop notifications with "notify:". */
    readonly notify: "1";
    /** The picker window with "picker:". */
    readonly picker: "1";
    /** The page's own maximise button answered for Windows 11's snap layouts with "snap:". @since 0.3.0 */
    readonly snap?: "1";
    /** "state:" is answered. @since 0.3.0 */
    readonly state?: "1";
    /** "badge:" and the Badging API. @since 0.3.0 */
    readonly badge?: "1";
    /**
     * Present when "autostart:" is understood, holding whether the shell started at sign-in when
     * it started; later changes come through shellAutostartState. @since 0.3.0
     */
    readonly autostart?: "0" | "1";
}

/** The page's channel to the shell: a frozen object that cannot be replaced. */
interface WispermothIpc {
    /** Hands the text to the shell as it is, without waiting; the shell never answers here. */
    readonly postMessage: (message: WispermothPageMessage) => void;
}

interface Window {
    /** Present only inside the shell, in the application's top-level documents. */
    readonly shellInfo?: WispermothShellInfo;
    /**
     * Present only inside the shell, in the application's top-level documents, on a global
     * property that cannot be redefined: a top-level let, const, class, var or function named ipc
     * in a classic script throws or is ignored there.
     */
    readonly ipc?: WispermothIpc;

    // Defined by the page, called by the shell, only while the window shows the application. The
    // shell ignores what they return and any error. A call made before the page defined the
    // function is lost. @since 0.2.13 unless said

    /**
     * The window was maximised (true) or restored (false), by "max", "drag" (dragging a maximised
     * window restores it, dragging to the top edge maximises it) or any other way; not for
     * minimising. Also after "state:", with the current state.
     */
    shellMaxState?: (maximized: boolean) => void;
    /** Always on top was set by "top:0" or "top:1", from any window, or "state:" asked; sent even when unchanged. */
    shellTopState?: (on: boolean) => void;
    /**
     * A download this window started finished as this file name (no folder), while the window
     * still shows the application (the window, not the document: a later page hears it), or
     * "saved:" was posted.
     */
    shellSaved?: (fileName: string) => void;
    /** The self-update failed; the shell keeps running. Never called with true. */
    shellUpdateState?: (ok: false) => void;
    /** The icon variant was changed by any window, or "state:" asked. */
    shellIconState?: (icon: WispermothIconVariant) => void;
    /** A window of the shell closed; tells whether the picker window is still open. */
    shellWindowsChanged?: (pickerOpen: boolean) => void;
    /** The pointer over the "snap:" rectangle: entered ("hover"), pressed ("press"), left (""). @since 0.3.0 */
    shellSnapState?: (state: "hover" | "press" | "") => void;
    /**
     * Starting at sign-in was switched by "autostart:1" or "autostart:0" from any window (the
     * state read back), or "state:" asked (the state read anew). @since 0.3.0
     */
    shellAutostartState?: (on: "0" | "1") => void;
    /**
     * The user clicked a notification posted with "notify-tag:": its tag, once per click, in the
     * main window (or the earliest-opened one still open) once its page has loaded. @since 0.4.0
     */
    shellNotificationClicked?: (tag: string) => void;
}

// The web's Badging API, which the shell defines in the application's top-level documents (the
// browser's own declarations carry it too). The badge shows on every window's taskbar button.
// Workers and service workers have no way to the shell: their calls do not reach it. @since 0.3.0
interface Navigator {
    /** No argument: a badge without a number; 0 clears. Rejects with a TypeError below 0 or above 2^53-1. */
    setAppBadge(contents?: number): Promise<void>;
    clearAppBadge(): Promise<void>;
}
