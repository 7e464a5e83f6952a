// Type declarations for kit/wispermoth.js, written on those of the globals in
// types/wispermoth.d.ts (keep that file in the page's project too).

/// <reference path="../types/wispermoth.d.ts" />

/** True in a top-level document of the application inside the shell: only there do messages arrive. */
export const inShell: boolean;
/** What the shell said about itself at its start, or null outside the shell. */
export const info: WispermothShellInfo | null;
/** Whether the shell understands an optional message: its shellInfo field is there. */
export function supports(word: WispermothOptionalMessage): boolean;

// Each posts its message and returns true; outside the shell it posts nothing and returns false.
export function minimize(): boolean;
/** Maximises or restores; the answer comes as a "maxstate" event. */
export function toggleMaximize(): boolean;
/** Call from a primary-button press: the shell runs the system's move loop from it. */
export function drag(): boolean;
export function resize(edge: "n" | "nw" | "ne"): boolean;
/** Closes this window at once, without a beforeunload prompt. */
export function close(): boolean;
export function setAlwaysOnTop(on: boolean): boolean;
export function setIcon(word: WispermothIconVariant): boolean;
/** A path of the origin starting with "/". */
export function openWindow(path: `/${string}`): boolean;
export function openPicker(path: `/${string}`): boolean;
/** The title, and the body on the lines after it. */
export function notify(title: string, body?: string): boolean;
/** No argument: a badge without a number; 0 takes it away. Throws a RangeError for what is no whole count. */
export function setBadge(count?: number): boolean;
export function setAutostart(on: boolean): boolean;

/** The states "state:" reports, as the four calls said them. */
export interface WispermothState {
    maximized: boolean;
    alwaysOnTop: boolean;
    icon: WispermothIconVariant;
    autostart: boolean;
}
/** Rejects outside the shell and on a shell whose shellInfo does not say `state`. */
export function state(): Promise<WispermothState>;

/** What each event's detail holds. */
export interface WispermothEventDetail {
    maxstate: boolean;
    topstate: boolean;
    iconstate: WispermothIconVariant;
    autostartstate: boolean;
    windowschanged: boolean;
    saved: string;
    updatestate: false;
    snapstate: "hover" | "press" | "";
}
export interface WispermothEvents extends EventTarget {
    addEventListener<K extends keyof WispermothEventDetail>(
        type: K, listener: (event: CustomEvent<WispermothEventDetail[K]>) => void,
        options?: boolean | AddEventListenerOptions): void;
    addEventListener(type: string, listener: EventListenerOrEventListenerObject | null,
        options?: boolean | AddEventListenerOptions): void;
    removeEventListener<K extends keyof WispermothEventDetail>(
        type: K, listener: (event: CustomEvent<WispermothEventDetail[K]>) => void,
        options?: boolean | EventListenerOptions): void;
    removeEventListener(type: string, listener: EventListenerOrEventListenerObject | null,
        options?: boolean | EventListenerOptions): void;
}
/** Where the shell's calls arrive, one target shared by every copy of the module in the document. */
export const events: WispermothEvents;

/**
 * Keeps the shell told where the page's maximise button is, through resizes, moves, scrolls,
 * zoom, DPI changes and back/forward restores; returns a function that stops and withdraws it.
 */
export function trackSnapButton(element: Element): () => void;
