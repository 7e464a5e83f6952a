// Type declarations for a page shown by the wispermoth desktop shell: what the shell defines
// before the page's scripts run, the messages the page can post, and the functions the shell
// calls in the page. docs/page-api.md describes each of them. Include this file in the page's
// TypeScript project (a "files" or "include" entry, or a triple-slash reference); it declares
// globals only.

/** An icon variant word. The empty word is the default icon. */
type WispermothIconVariant = "" | "bubble" | "wordmark" | "peek" | "says";

/** Every message the shell acts on. Any other text is ignored without an answer. */
type WispermothPageMessage =
    | WispermothIconVariant
    | `window:/${string}`
    | `picker:/${string}`
    | "top:0"
    | "top:1"
    | `notify:${string}`
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
    /** "snap:" alone withdraws the maximise button's rectangle. */
    | "snap:"
    /**
     * The maximise button's left, top, width and height in CSS pixels. The numbers must be
     * integers (round them): a fraction, or anything else, makes the shell drop the message.
     */
    | `snap:${number} ${number} ${number} ${number}`
    /** Asks for shellMaxState, shellTopState, shellIconState and shellAutostartState with the current values, in this window. */
    | "state:"
    /** The unread badge on every window's taskbar button: a count, "badge:" alone for none, "badge:0" to clear. */
    | "badge:"
    | `badge:${number}`
    /** Start at sign-in, or no longer. */
    | "autostart:0"
    | "autostart:1";

/**
 * What the shell tells the page about itself, as it was when the shell started. Every page in a
 * shell window gets it, also pages of other sites: it says "inside the shell", not "on the origin".
 */
interface WispermothShellInfo {
    /** The shell's version, "0.2.13". */
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
    /** The page's own maximise button answered for Windows 11's snap layouts with "snap:". */
    readonly snap: "1";
    /** Started at sign-in at the shell's start; later changes come through shellAutostartState. */
    readonly autostart: "0" | "1";
}

/** The page's channel to the shell: a frozen object that cannot be replaced. */
interface WispermothIpc {
    /** Hands the text to the shell as it is, without waiting; the shell never answers here. */
    readonly postMessage: (message: WispermothPageMessage) => void;
}

interface Window {
    /** Present only inside the shell. */
    readonly shellInfo?: WispermothShellInfo;
    /**
     * Present only inside the shell, on a global property that cannot be redefined: a top-level
     * let, const or class named ipc in a classic script throws there.
     */
    readonly ipc?: WispermothIpc;

    // Defined by the page, called by the shell. The shell ignores what they return and any error.

    /**
     * The window was maximised (true) or restored (false), by "max" or any other way; not for
     * minimising. Also after "state:", with the current state.
     */
    shellMaxState?: (maximized: boolean) => void;
    /** Always on top was set by "top:0" or "top:1", from any window, or "state:" asked; sent even when unchanged. */
    shellTopState?: (on: boolean) => void;
    /**
     * A download of this page finished as this file name (no folder), while this window still
     * shows the application, or "saved:" was posted.
     */
    shellSaved?: (fileName: string) => void;
    /** The self-update failed; the shell keeps running. Never called with true. */
    shellUpdateState?: (ok: false) => void;
    /** The icon variant was changed by any window, or "state:" asked. */
    shellIconState?: (icon: WispermothIconVariant) => void;
    /** A window of the shell closed; tells whether the picker window is still open. */
    shellWindowsChanged?: (pickerOpen: boolean) => void;
    /** The pointer over the "snap:" rectangle: entered ("hover"), pressed ("press"), left (""). */
    shellSnapState?: (state: "hover" | "press" | "") => void;
    /** Starting at sign-in was switched by "autostart:1" or "autostart:0" from any window: the state read back. */
    shellAutostartState?: (on: "0" | "1") => void;
}

// The web's Badging API, which the shell defines in the application's pages (the browser's own
// declarations carry it too). The badge shows on every window's taskbar button.
interface Navigator {
    /** No argument: a badge without a number; 0 clears. Rejects with a TypeError below 0 or above 2^53-1. */
    setAppBadge(contents?: number): Promise<void>;
    clearAppBadge(): Promise<void>;
}
