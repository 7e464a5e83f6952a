// Type declarations for wispermoth.js, the page kit of the wispermoth desktop shell: complete in
// themselves, every type they name exported. docs/page-api.md describes the messages and calls.

/** An icon variant word. The empty word is the default icon. */
export type IconVariant = "" | "bubble" | "wordmark" | "peek" | "says";

/** What the shell tells the page about itself, as it was when the shell started. */
export interface ShellInfo {
    /** The shell's version as major.minor.patch. */
    readonly version: string;
    readonly build: "windows";
    readonly desktop: 1;
    /** The icon variant at the shell's start; later changes come as "iconstate" events. */
    readonly icon: IconVariant;
    /** Always on top at the shell's start; later changes come as "topstate" events. */
    readonly top: "0" | "1";
    readonly frame: "1";
    readonly update: "1";
    readonly resize: "1";
    readonly windows: "1";
    readonly notify: "1";
    readonly picker: "1";
    /** @since 0.3.0 */
    readonly snap?: "1";
    /** @since 0.3.0 */
    readonly state?: "1";
    /** @since 0.3.0 */
    readonly badge?: "1";
    /** Whether the shell started at sign-in when it started. @since 0.3.0 */
    readonly autostart?: "0" | "1";
}

/** The shellInfo fields that say the shell understands an optional message. */
export type OptionalMessage =
    "frame" | "update" | "resize" | "windows" | "notify" | "picker" | "snap" | "state" | "badge" | "autostart";

/** inShell and info together: testing `session.inShell` narrows `session.info`. */
export type Session = { readonly inShell: true; readonly info: ShellInfo } | { readonly inShell: false; readonly info: null };

/** True in a top-level document of the application inside the shell (or in mock mode): only there do messages arrive. */
export const inShell: boolean;
/** What the shell said about itself at its start, or null outside the shell. */
export const info: ShellInfo | null;
/** inShell and info as one value: `if (session.inShell) session.info.version`. */
export const session: Session;
/** Whether the shell understands an optional message: its shellInfo field is there. */
export function supports(word: OptionalMessage): boolean;

// Each posts its message and returns true; outside the shell it posts nothing and returns false.
// An argument the shell would not take throws a TypeError (setBadge: a RangeError for a number
// that is no count) and posts nothing.
export function minimize(): boolean;
/** Maximises or restores; the answer comes as a "maxstate" event. */
export function toggleMaximize(): boolean;
/** Call from a primary-button press: the shell runs the system's move loop from it. */
export function drag(): boolean;
export function resize(edge: "n" | "nw" | "ne"): boolean;
/** Closes this window at once, without a beforeunload prompt. */
export function close(): boolean;
export function setAlwaysOnTop(on: boolean): boolean;
export function setIcon(word: IconVariant): boolean;
/** A path of the origin: "/" first, not "//", printable ASCII without spaces. */
export function openWindow(path: `/${string}`): boolean;
export function openPicker(path: `/${string}`): boolean;
/** What a notification's click hands back to the page: 1 to 64 of A-Z a-z 0-9 - _ . : */
export interface NotifyOptions {
    tag?: string;
}
/**
 * The title (no line feed), and the body on the lines after it. With a tag, a click on the
 * notification comes back as a "notificationclick" event (from shell 0.4.0; an older shell shows
 * it without the tag).
 */
export function notify(title: string, body?: string, options?: NotifyOptions): boolean;
/** No argument: a badge without a number; 0 takes it away. Throws a RangeError for what is no whole count. */
export function setBadge(count?: number): boolean;
export function setAutostart(on: boolean): boolean;

/** The states "state:" reports, as the four calls said them. */
export interface State {
    maximized: boolean;
    alwaysOnTop: boolean;
    icon: IconVariant;
    autostart: boolean;
}
export interface StateOptions {
    /** Milliseconds to wait for the whole answer before rejecting. */
    timeout?: number;
}
/** Rejects outside the shell, on a shell whose shellInfo does not say `state`, and after the time-out. */
export function state(options?: StateOptions): Promise<State>;

/** What each event's detail holds. */
export interface EventDetail {
    maxstate: boolean;
    topstate: boolean;
    iconstate: IconVariant;
    autostartstate: boolean;
    windowschanged: boolean;
    saved: string;
    /** Whether the update succeeded: the shell reports only failures, so it comes as false. */
    updatestate: boolean;
    snapstate: "hover" | "press" | "";
    /** The tag of the notification the user clicked. @since 0.4.0 */
    notificationclick: string;
}
export type EventName = keyof EventDetail;
export type EventListenerFor<K extends EventName> = (event: CustomEvent<EventDetail[K]>) => void;
/** Where the shell's calls arrive. Only the names above are accepted. */
export interface Events {
    addEventListener<K extends EventName>(type: K, listener: EventListenerFor<K>,
        options?: boolean | AddEventListenerOptions): void;
    removeEventListener<K extends EventName>(type: K, listener: EventListenerFor<K>,
        options?: boolean | EventListenerOptions): void;
}
/** One target shared by every copy of the module in the document. */
export const events: Events;

/**
 * Keeps the shell told where the page's maximise button is, through resizes, moves, scrolls,
 * zoom, DPI changes and back/forward restores, and withdrawn while the user cannot see it. One
 * tracker per window: the latest call wins. Returns a function that stops and withdraws it.
 */
export function trackSnapButton(element: Element): () => void;

/**
 * On localhost, outside the shell: the kit answers its own calls as the shell would. True when
 * it took effect; false anywhere else and inside the shell.
 */
export function mock(options?: { info?: Partial<ShellInfo> }): boolean;
