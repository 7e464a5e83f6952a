// The reference page (examples/page) in headless Chromium, served at the application's origin,
// with what the shell registers before the page's scripts: a stand-in for WebView2's message
// channel, then the shell's bridge script and start-up script, exactly as the shell's code
// makes them (page_scripts prints them).
//
//   node --test tests/page/page_test.mjs
//   PAGE_SCRIPTS=<build>/tests/page/page_scripts   the tool (default: build/native)
//   PAGE_SCREENSHOT=<file.png>                     where to put a screenshot of the page

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const tool = process.env.PAGE_SCRIPTS ?? path.join(repo, "build/native/tests/page/page_scripts");
const origin = "https://wispermoth.app";

// Texts for shellSaved that a naive escaping breaks; the tool gets them as hex bytes.
const savedTexts = [
    "report.pdf",
    "",
    "it's",
    "C:\\Users\\me\\it's \\'quoted\\'.txt",
    "\\\\''\\",
    "ends in a backslash\\",
    "line\nfeed\r\nand\rreturn",
    "\u2028separators\u2029",
    "nul\0inside",
    "\"double\" `tick` ${x} </script>",
    "été — 😀",
];
const scripts = JSON.parse(
    execFileSync(tool, { input: savedTexts.map((t) => Buffer.from(t).toString("hex")).join("\n") + "\n" }),
);

// Each script call as the shell's code makes it, and what the page's function must receive.
const calls = [
    ["max_state_script(true)", "shellMaxState", true],
    ["max_state_script(false)", "shellMaxState", false],
    ["top_state_script(true)", "shellTopState", true],
    ["top_state_script(false)", "shellTopState", false],
    ["windows_changed_script(true)", "shellWindowsChanged", true],
    ["windows_changed_script(false)", "shellWindowsChanged", false],
    ["update_failed_script()", "shellUpdateState", false],
    ["autostart_state_script(true)", "shellAutostartState", "1"],
    ["autostart_state_script(false)", "shellAutostartState", "0"],
    ...scripts.icon_words.map((w) => [`icon_state_script(${w})`, "shellIconState", w]),
    ...["hover", "press", ""].map((s) => [`snap_state_script(${s})`, "shellSnapState", s]),
    ["notification_clicked_script(room:7)", "shellNotificationClicked", "room:7"],
];

// The stand-in for WebView2's window.chrome.webview: records every posted value.
function standInChannel() {
    const posted = [];
    Object.defineProperty(window, "standinPosted", { value: posted });
    window.chrome = window.chrome ?? {};
    window.chrome.webview = { postMessage: (value) => posted.push(value) };
}

// Wraps every shell… function the page defined, recording each call's arguments.
function recordShellCalls() {
    const names = ["shellMaxState", "shellTopState", "shellSaved", "shellUpdateState", "shellIconState",
        "shellWindowsChanged", "shellSnapState", "shellAutostartState", "shellNotificationClicked"];
    const seen = [];
    Object.defineProperty(window, "shellCalls", { value: seen });
    for (const name of names) {
        const original = window[name];
        if (typeof original !== "function") throw new Error(`the page does not define ${name}`);
        window[name] = (...args) => {
            seen.push([name, ...args]);
            return original(...args);
        };
    }
}

let context;
let userData;

before(async () => {
    userData = mkdtempSync(path.join(tmpdir(), "wm-page-"));
    context = await chromium.launchPersistentContext(userData, {
        executablePath: "/usr/bin/chromium",
        headless: true,
        args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync"],
        viewport: { width: 760, height: 560 },
    });
    // The page's files at the origin, an empty page anywhere else; nothing reaches the network.
    await context.route("**/*", (route) => {
        const url = new URL(route.request().url());
        if (url.origin !== origin && url.hostname !== "localhost") return route.fulfill({ body: "<!doctype html><title>elsewhere</title>", contentType: "text/html" });
        if (url.pathname === "/frame") return route.fulfill({ body: "<!doctype html><title>frame</title>", contentType: "text/html" });
        if (url.pathname === "/blank") return route.fulfill({ body: "<!doctype html><title>blank</title>", contentType: "text/html" });
        const file = { "/": "examples/page/index.html", "/page.js": "examples/page/page.js",
            "/kit/wispermoth.js": "kit/wispermoth.js" }[url.pathname];
        if (!file) return route.fulfill({ status: 404, body: "" });
        return route.fulfill({
            body: readFileSync(path.join(repo, file)),
            contentType: file.endsWith(".js") ? "text/javascript" : "text/html",
        });
    });
});

after(async () => {
    await context?.close();
    rmSync(userData, { recursive: true, force: true });
});

// A fresh page with the shell's scripts in the order the shell registers them.
async function shellPage(settings = "0::0", address = `${origin}/`) {
    const page = await context.newPage();
    const errors = [];
    page.on("pageerror", (error) => errors.push(error.message));
    await page.addInitScript(standInChannel);
    await page.addInitScript({ content: scripts.bridge });
    await page.addInitScript({ content: scripts.badge });
    await page.addInitScript({ content: scripts.init[settings] });
    await page.goto(address);
    if (address === `${origin}/`) await page.evaluate(recordShellCalls);
    return { page, errors };
}

// Runs a script as WebView2's ExecuteScript does: its text, evaluated at global scope.
async function runScript(page, script) {
    try {
        await page.evaluate((text) => (0, eval)(text), script);
    } catch (error) {
        throw new Error(`${JSON.stringify(script)} does not run: ${error.message}`);
    }
}

const posted = (page) => page.evaluate(() => window.standinPosted.slice());
// What the page sends by itself: its button's rectangles, and its request for the states at load.
const unasked = (m) => m.startsWith("snap:") || m === "state:";
// What the user's actions posted.
const commands = async (page) => (await posted(page)).filter((m) => !unasked(m));
const shellCalls = (page) => page.evaluate(() => window.shellCalls.slice());

describe("the bridge", () => {
    test("forwards exactly the string it is given", async () => {
        const { page, errors } = await shellPage();
        const texts = ["top:1", "", " close ", "notify:a\nb\r\n", "saved:\\'\"", "\u2028\0😀"];
        for (const text of texts) await page.evaluate((t) => window.ipc.postMessage(t), text);
        assert.deepEqual(await commands(page), texts);
        assert.deepEqual(errors, []);
        await page.close();
    });

    test("cannot be replaced, redefined, deleted or changed", async () => {
        const { page } = await shellPage();
        const outcome = await page.evaluate(() => {
            const original = window.ipc;
            const attempts = {
                assign: () => { "use strict"; window.ipc = {}; },
                redefine: () => Object.defineProperty(window, "ipc", { value: {} }),
                remove: () => { "use strict"; delete window.ipc; },
                replacePostMessage: () => { "use strict"; window.ipc.postMessage = () => {}; },
                addMember: () => { "use strict"; window.ipc.other = 1; },
            };
            const refused = Object.entries(attempts).map(([name, attempt]) => {
                try {
                    attempt();
                    return `${name}: allowed`;
                } catch (error) {
                    return `${name}: ${error.constructor.name}`;
                }
            });
            window.ipc.postMessage("min");
            return { refused, same: window.ipc === original, posted: window.standinPosted.slice() };
        });
        assert.deepEqual(outcome.refused, ["assign: TypeError", "redefine: TypeError", "remove: TypeError",
            "replacePostMessage: TypeError", "addMember: TypeError"]);
        assert.equal(outcome.same, true);
        assert.deepEqual(outcome.posted.filter((m) => !unasked(m)), ["min"]);
        await page.close();
    });
});

test("the README and the guide give the shell's version", () => {
    const version = scripts.version.replaceAll(".", "\\.");
    assert.match(readFileSync(path.join(repo, "README.md"), "utf8"), new RegExp(`carries its version \\(${version}\\)`));
    assert.match(readFileSync(path.join(repo, "docs/page-api.md"), "utf8"), new RegExp(`\\| \`'${version}'\` \\|`));
});

describe("the document scripts", () => {
    const objects = (frame) => frame.evaluate(() =>
        [typeof window.ipc, typeof window.shellInfo, String(navigator.setAppBadge).includes("post(")]);

    test("give nothing to frames and other sites", async () => {
        const { page } = await shellPage();
        await page.evaluate(() => new Promise((loaded) => {
            const frame = Object.assign(document.createElement("iframe"), { src: "/frame", onload: loaded });
            document.body.append(frame);
        }));
        assert.deepEqual(await objects(page.frames()[1]), ["undefined", "undefined", false]);
        for (const address of ["https://example.com/", "http://wispermoth.app/", "https://wispermoth.app:444/"]) {
            const { page: foreign } = await shellPage(undefined, address);
            assert.deepEqual(await objects(foreign), ["undefined", "undefined", false], address);
            await foreign.close();
        }
        await page.close();
    });

    test("keep ipc working after the page replaces window.chrome", async () => {
        const { page } = await shellPage();
        await page.evaluate(() => {
            window.chrome.webview.postMessage = () => {};
            window.chrome = {};
            window.ipc.postMessage("min");
            return navigator.setAppBadge(2);
        });
        assert.deepEqual(await commands(page), ["min", "badge:2"]);
        await page.close();
    });
});

describe("the page kit", () => {
    const kit = (page, code) => page.evaluate(async (text) => {
        const shell = await import("/kit/wispermoth.js");
        return (0, eval)(`(shell) => ${text}`)(shell);
    }, code);

    test("posts each message exactly", async () => {
        const { page } = await shellPage();
        const calls = [
            ["shell.minimize()", "min"], ["shell.toggleMaximize()", "max"], ["shell.drag()", "drag"],
            ["shell.resize('nw')", "resize:nw"], ["shell.close()", "close"], ["shell.setAlwaysOnTop(true)", "top:1"],
            ["shell.setAlwaysOnTop(false)", "top:0"], ["shell.setIcon('peek')", "peek"], ["shell.setIcon('')", ""],
            ["shell.openWindow('/chat?id=7')", "window:/chat?id=7"], ["shell.openPicker('/pick')", "picker:/pick"],
            ["shell.notify('T', 'a\\nb')", "notify:T\na\nb"], ["shell.notify('T')", "notify:T"],
            ["shell.setBadge()", "badge:"], ["shell.setBadge(12)", "badge:12"], ["shell.setBadge(0)", "badge:0"],
            ["shell.setAutostart(true)", "autostart:1"], ["shell.setAutostart(false)", "autostart:0"],
            ["void shell.state()", "state:"],
        ];
        for (const [call, message] of calls) {
            const before = (await posted(page)).length;
            await kit(page, call);
            assert.deepEqual((await posted(page)).slice(before), [message], call);
        }
        await assert.rejects(kit(page, "shell.setBadge(1.5)"), /RangeError/);
        await page.close();
    });

    test("tells every listener, every copy of the module and the page's own function", async () => {
        const { page } = await shellPage();
        await page.evaluate(async () => {
            const copies = [await import("/kit/wispermoth.js"), await import("/kit/wispermoth.js?copy")];
            window.heard = [];
            for (const [i, copy] of copies.entries())
                copy.events.addEventListener("topstate", (e) => window.heard.push(`listener ${i}: ${e.detail}`));
            window.shellTopState = (on) => window.heard.push(`own: ${on}`);
        });
        await runScript(page, scripts.calls["top_state_script(true)"]);
        assert.deepEqual(await page.evaluate(() => window.heard), ["listener 0: true", "listener 1: true", "own: true"]);
        await page.close();
    });

    test("state() resolves from the four calls", async () => {
        const { page } = await shellPage();
        const answer = page.evaluate(async () => (await import("/kit/wispermoth.js")).state());
        for (const made of ["max_state_script(true)", "top_state_script(false)", "icon_state_script(peek)",
            "autostart_state_script(true)"])
            await runScript(page, scripts.calls[made]);
        assert.deepEqual(await answer, { maximized: true, alwaysOnTop: false, icon: "peek", autostart: true });
        await page.close();
    });

    test("trackSnapButton resends after a move without a resize and after a back/forward restore", async () => {
        const { page } = await shellPage();
        const snaps = () => page.evaluate(() => window.standinPosted.filter((m) => m.startsWith("snap:")));
        const first = (await snaps()).at(-1);
        await page.evaluate(() => { document.getElementById("close").style.width = "90px"; });
        await page.waitForFunction((sent) => window.standinPosted.filter((m) => m.startsWith("snap:")).at(-1) !== sent, first);
        const moved = (await snaps()).at(-1);
        assert.equal(moved.split(" ")[0], `snap:${Number(first.split(" ")[0].slice(5)) - 50}`);
        const count = (await snaps()).length;
        await page.evaluate(() => window.dispatchEvent(new PageTransitionEvent("pageshow", { persisted: true })));
        assert.deepEqual((await snaps()).slice(count), [moved]);
        await page.close();
    });
});

describe("the page kit for a chat application", () => {
    const kit = (page, code) => page.evaluate(async (text) => (0, eval)(`(shell) => ${text}`)(await import("/kit/wispermoth.js")), code);

    // Each call; what it posts, or the error it throws without posting. One row per rule.
    const argumentChecks = [
        ["shell.setIcon('close')", "TypeError"], ["shell.notify('two\\nlines', 'body')", "TypeError"],
        ["shell.notify('T', 'b', { tag: 'a b' })", "TypeError"], ["shell.notify('T', 'b', { tag: 'x'.repeat(65) })", "TypeError"],
        ["shell.notify('T', '', { tag: 'x'.repeat(64) })", `notify-tag:${"x".repeat(64)}\nT\n`],
        ["shell.openWindow('//evil.example')", "TypeError"], ["shell.openPicker('/a b')", "TypeError"],
        ["shell.resize('s')", "TypeError"], ["shell.setAlwaysOnTop('no')", "TypeError"], ["shell.setAutostart(1)", "TypeError"],
        ["shell.setBadge(-1)", "RangeError"], ["shell.state({ timeout: -1 })", "TypeError"], ["shell.trackSnapButton('#max')", "TypeError"],
    ];

    test("posts nothing for what the shell would not take", async () => {
        const { page } = await shellPage();
        const outcomes = [];
        for (const [call] of argumentChecks) outcomes.push([call, await kit(page, `(() => { const before = window.standinPosted.length;
            try { ${call}; } catch (error) { return error.constructor.name + (window.standinPosted.length === before ? "" : "!"); }
            return window.standinPosted.slice(before).join(" | "); })()`)]);
        assert.deepEqual(outcomes, argumentChecks);
        await assert.rejects(kit(page, "shell.state({ timeout: 20 })"), /no answer in 20 ms/);
        await page.close();
    });

    // What a classic or module script declares before or after the kit: it loads (no page error),
    // and whether the kit's listener and the page's own function hear the shell.
    const own = { function: "function shellTopState() { heard.push('own'); }", var: "var shellTopState = () => heard.push('own');",
        let: "let shellTopState = () => heard.push('own');", const: "const shellTopState = () => heard.push('own');",
        window: "window.shellTopState = () => heard.push('own');" };
    const declarations = [
        // declared, in a module, before the kit, the kit hears, the page's function hears
        ["function", false, true, true, true], ["function", false, false, false, true],
        ["var", false, true, true, true], ["var", false, false, true, true],
        ["let", false, true, false, true], ["let", false, false, false, true],
        ["const", false, true, false, true], ["const", false, false, false, true],
        ["window", false, true, true, true], ["window", false, false, true, true],
        ["function", true, false, true, false], ["const", true, true, true, false],
    ];

    test("never keeps a page's own declarations from loading", async () => {
        const outcomes = [];
        for (const [declared, module, before] of declarations) {
            const { page, errors } = await shellPage(undefined, `${origin}/blank`);
            await page.evaluate(async ([text, module, before]) => {
                window.heard = [];
                const declare = () => new Promise((ran) => {
                    const script = Object.assign(document.createElement("script"), { type: module ? "module" : "",
                        textContent: `${text}\nwindow.dispatchEvent(new Event("declared"));` });
                    for (const done of ["declared", "error"]) window.addEventListener(done, ran, { once: true });
                    document.head.append(script);
                });
                if (before) await declare();
                (await import("/kit/wispermoth.js")).events.addEventListener("topstate", () => window.heard.push("kit"));
                if (!before) await declare();
            }, [own[declared], module, before]);
            await runScript(page, scripts.calls["top_state_script(true)"]);
            const heard = await page.evaluate(() => window.heard);
            outcomes.push([declared, module, before, heard.includes("kit"), heard.includes("own"), ...errors]);
            await page.close();
        }
        assert.deepEqual(outcomes, declarations);
    });

    test("keeps one snap tracker per window, withdrawn while the button cannot be seen", async () => {
        const { page } = await shellPage();
        const lastSnap = () => page.evaluate(() => window.standinPosted.filter((m) => m.startsWith("snap:")).at(-1));
        await page.waitForFunction(() => window.standinPosted.some((m) => m.startsWith("snap:")));
        const shown = await lastSnap();
        const steps = [["max.style.visibility = 'hidden'", "snap:"], ["max.style.visibility = ''", shown],
            ["max.style.opacity = '0'", "snap:"], ["max.style.opacity = ''", shown],
            ["document.body.append(Object.assign(document.createElement('div'), { id: 'cover', style: 'position:fixed;inset:0' }))", "snap:"],
            ["cover.remove()", shown]];
        const seen = [];
        for (const [step, expected] of steps) {
            await page.evaluate((text) => (0, eval)(text), step);
            await page.waitForFunction((sent) => window.standinPosted.filter((m) => m.startsWith("snap:")).at(-1) === sent,
                expected, { timeout: 2000 }).catch(() => {});
            seen.push([step, await lastSnap()]);
        }
        assert.deepEqual(seen, steps);
        // The latest call wins, from any copy of the kit; an earlier tracker's stop changes nothing.
        const posted = await page.evaluate(async () => {
            const [first, second] = [await import("/kit/wispermoth.js"), await import("/kit/wispermoth.js?copy")];
            const stopOld = first.trackSnapButton(document.getElementById("max"));
            const stopNew = second.trackSnapButton(document.getElementById("min"));
            const count = window.standinPosted.length;
            stopOld();
            document.getElementById("max").style.width = "90px";
            await new Promise((frame) => requestAnimationFrame(() => requestAnimationFrame(frame)));
            stopNew();
            stopNew();
            return window.standinPosted.slice(count);
        });
        const min = await page.locator("#min").boundingBox();
        assert.deepEqual(posted, [`snap:${[min.x, min.y, min.width, min.height].map(Math.round).join(" ")}`, "snap:"]);
        await page.close();
    });

    test("imports without a page (server rendering, a worker) and does nothing there", async () => {
        const probe = "k.inShell, k.session.inShell, k.minimize(), k.events instanceof EventTarget, await k.state().then(() => 'answered', (e) => e.name)";
        const k = await import(path.join(repo, "kit/wispermoth.js"));
        assert.deepEqual(await eval(`(async () => [${probe}])()`), [false, false, false, true, "Error"]);
        const { page } = await shellPage();
        assert.deepEqual(await page.evaluate((probe) => new Promise((answer) => {
            const code = `import('${location.origin}/kit/wispermoth.js').then(async (k) => postMessage([${probe}]), (e) => postMessage(String(e)))`;
            new Worker(URL.createObjectURL(new Blob([code], { type: "text/javascript" })), { type: "module" }).onmessage = (e) => answer(e.data);
        }), probe), [false, false, false, true, "Error"]);
        await page.close();
    });

    test("answers its own calls in mock mode on localhost only", async () => {
        const mocked = async (address) => {
            const page = await context.newPage();
            await page.goto(address);
            const outcome = await page.evaluate(async () => {
                const shell = await import("/kit/wispermoth.js"), heard = [];
                shell.events.addEventListener("topstate", (e) => heard.push(e.detail));
                if (!shell.mock()) return "not mocked";
                shell.setAlwaysOnTop(true);
                return [shell.inShell, await shell.state({ timeout: 1000 }), heard];
            });
            await page.close();
            return outcome;
        };
        assert.deepEqual(await mocked("http://localhost:8123/blank"),
            [true, { maximized: false, alwaysOnTop: true, icon: "", autostart: false }, [true, true]]);
        assert.equal(await mocked(`${origin}/blank`), "not mocked");
    });
});

describe("shellInfo", () => {
    for (const settings of Object.keys(scripts.init)) {
        test(`holds the documented fields (top, icon and autostart ${settings})`, async () => {
            const [top, icon, autostart] = settings.split(":");
            const { page, errors } = await shellPage(settings);
            assert.deepEqual(await page.evaluate(() => window.shellInfo), {
                version: scripts.version, build: "windows", desktop: 1, icon, top, frame: "1", update: "1",
                resize: "1", windows: "1", notify: "1", picker: "1", snap: "1", state: "1", badge: "1", autostart,
            });
            // The page shows it and starts its controls from it.
            const shown = new RegExp(`version\\s+"${scripts.version.replaceAll(".", "\\.")}"`);
            assert.match(await page.locator("#info").innerText(), shown);
            assert.equal(await page.locator("#top").isChecked(), top === "1");
            assert.equal(await page.locator("#icon").inputValue(), icon);
            assert.equal(await page.locator("#autostart").isChecked(), autostart === "1");
            assert.deepEqual(errors, []);
            await page.close();
        });
    }
});

describe("the Badging API", () => {
    // Each call as a page writes it; what it posts, or the error its promise rejects with.
    const conversions = [
        ["navigator.setAppBadge()", "badge:"],
        ["navigator.setAppBadge(undefined)", "badge:"],
        ["navigator.setAppBadge(3)", "badge:3"],
        ["navigator.setAppBadge(10.6)", "badge:10"],
        ["navigator.setAppBadge('3')", "badge:3"],
        ["navigator.setAppBadge(null)", "badge:0"],
        ["navigator.setAppBadge(0)", "badge:0"],
        ["navigator.setAppBadge(-0.9)", "badge:0"],
        ["navigator.setAppBadge(true)", "badge:1"],
        ["navigator.setAppBadge(2 ** 53 - 1)", "badge:9007199254740991"],
        ["navigator.setAppBadge({ valueOf: () => 7 })", "badge:7"],
        ["navigator.clearAppBadge()", "badge:0"],
        ["navigator.setAppBadge(-1)", "TypeError"],
        ["navigator.setAppBadge(2 ** 53)", "TypeError"],
        ["navigator.setAppBadge(Infinity)", "TypeError"],
        ["navigator.setAppBadge(NaN)", "TypeError"],
        ["navigator.setAppBadge('x')", "TypeError"],
        ["navigator.setAppBadge({})", "TypeError"],
        ["navigator.setAppBadge(3n)", "TypeError"],
    ];
    const attempt = (page, call) => page.evaluate(async (text) => {
        const before = window.standinPosted.length;
        try {
            const result = await (0, eval)(text);
            if (result !== undefined) return `resolved with ${result}`;
            return window.standinPosted.slice(before).join(" | ");
        } catch (error) {
            return `${error.constructor.name}${window.standinPosted.length === before ? "" : " after posting"}`;
        }
    }, call);

    test("posts the converted count, and rejects what is no count without posting", async () => {
        const { page, errors } = await shellPage();
        const outcomes = [];
        for (const [call] of conversions) outcomes.push([call, await attempt(page, call)]);
        assert.deepEqual(outcomes, conversions);
        assert.deepEqual(errors, []);
        await page.close();
    });

    test("is the shell's on the origin and its subdomains only", async () => {
        const ours = async (address) => {
            const { page } = await shellPage(undefined, address);
            const own = await page.evaluate(() => typeof navigator.setAppBadge === "function" &&
                !String(navigator.setAppBadge).includes("[native code]"));
            await page.close();
            return own;
        };
        assert.equal(await ours(`${origin}/`), true);
        assert.equal(await ours("https://chat.wispermoth.app/"), true);
        assert.equal(await ours("https://wispermoth.app.example.com/"), false);
        assert.equal(await ours("https://evilwispermoth.app/"), false);
        assert.equal(await ours("https://example.com/"), false);
        assert.equal(await ours("http://wispermoth.app/"), false);
    });
});

describe("the shell's script calls", () => {
    test("each reaches its function with its argument, and the page shows it", async () => {
        const { page, errors } = await shellPage();
        for (const [made, name, argument] of calls) {
            const script = scripts.calls[made];
            assert.ok(script, `page_scripts printed no ${made}`);
            await runScript(page, script);
            assert.deepEqual((await shellCalls(page)).at(-1), [name, argument], script);
            assert.match(await page.locator("#calls li").last().innerText(), new RegExp(`^${name}\\(`));
        }
        assert.equal(await page.locator("#top").isChecked(), false);
        assert.equal(await page.locator("#picker-state").innerText(), "closed");
        assert.deepEqual(errors, []);
        await page.close();
    });

    test("shellSaved receives every text unchanged", async () => {
        const { page, errors } = await shellPage();
        assert.equal(scripts.saved.length, savedTexts.length);
        for (const [i, text] of savedTexts.entries()) {
            await runScript(page, scripts.saved[i]);
            assert.deepEqual((await shellCalls(page)).at(-1), ["shellSaved", text], scripts.saved[i]);
        }
        assert.deepEqual(errors, []);
        await page.close();
    });
});

describe("the reference page", () => {
    test("asks for the current states once as it loads", async () => {
        const { page, errors } = await shellPage();
        assert.deepEqual((await posted(page)).filter((m) => m === "state:"), ["state:"]);
        assert.deepEqual(errors, []);
        await page.close();
    });

    test("sends its maximise button's rectangle and draws the states the shell reports", async () => {
        const { page, errors } = await shellPage();
        const rectangle = async () => {
            const box = await page.locator("#max").boundingBox();
            return `snap:${Math.round(box.x)} ${Math.round(box.y)} ${Math.round(box.width)} ${Math.round(box.height)}`;
        };
        const lastSnap = async () => (await posted(page)).filter((m) => m.startsWith("snap:")).at(-1);
        await page.waitForFunction(() => window.standinPosted.some((m) => m.startsWith("snap:")));
        assert.equal(await lastSnap(), await rectangle());

        // The button moves with the window's width; the page sends it again.
        const wide = await lastSnap();
        await page.setViewportSize({ width: 600, height: 560 });
        await page.waitForFunction(
            (sent) => window.standinPosted.filter((m) => m.startsWith("snap:")).at(-1) !== sent, wide);
        assert.equal(await lastSnap(), await rectangle());
        await page.setViewportSize({ width: 760, height: 560 });

        // The states drawn on the button: the shell's overlay keeps the page's own :hover away.
        const background = () => page.locator("#max").evaluate((b) => getComputedStyle(b).backgroundColor);
        const idle = await background();
        const drawn = {};
        for (const state of ["hover", "press", ""]) {
            await runScript(page, scripts.calls[`snap_state_script(${state})`]);
            drawn[state] = { state: await page.locator("#max").getAttribute("data-snap"), color: await background() };
        }
        assert.deepEqual(drawn[""], { state: null, color: idle });
        assert.equal(drawn.hover.state, "hover");
        assert.equal(drawn.press.state, "press");
        assert.notEqual(drawn.hover.color, idle);
        assert.notEqual(drawn.press.color, idle);
        assert.notEqual(drawn.press.color, drawn.hover.color);
        assert.deepEqual(errors, []);
        await page.close();
    });

    test("offers a control for every page message", async () => {
        const { page, errors } = await shellPage();
        const sent = [];
        const expect = async (message, act) => {
            await act();
            sent.push(message);
            assert.deepEqual(await commands(page), sent, `for ${JSON.stringify(message)}`);
        };
        const press = async (selector, x, clickCount = 1) => {
            const box = await page.locator(selector).boundingBox();
            await page.mouse.move(box.x + (x ?? box.width / 2), box.y + box.height / 2);
            await page.mouse.down({ clickCount });
            await page.mouse.up({ clickCount });
        };
        for (const word of [...scripts.icon_words.slice(1), ""])
            await expect(word, () => page.selectOption("#icon", word));
        await expect("top:1", () => page.check("#top"));
        await expect("top:0", () => page.uncheck("#top"));
        await page.fill("#window-path", "/chat?id=7");
        await expect("window:/chat?id=7", () => page.click("#open-window"));
        await page.fill("#picker-path", "/pick");
        await expect("picker:/pick", () => page.click("#open-picker"));
        await page.fill("#notify-title", "Title");
        await page.fill("#notify-body", "first\nsecond");
        await expect("notify:Title\nfirst\nsecond", () => page.click("#notify"));
        await page.fill("#notify-body", "");
        await expect("notify:Title", () => page.click("#notify"));
        await page.fill("#saved-name", "it's a\\b.txt");
        await expect("saved:it's a\\b.txt", () => page.click("#saved"));
        await expect("update:done", () => page.click("#update-done"));
        await expect("update:fail", () => page.click("#update-fail"));
        await expect("min", () => page.click("#min"));
        await expect("max", () => page.click("#max"));
        await expect("close", () => page.click("#close"));
        await expect("autostart:1", () => page.check("#autostart"));
        await expect("autostart:0", () => page.uncheck("#autostart"));
        await page.fill("#badge-count", "12.5");
        await expect("badge:12", () => page.click("#set-badge"));
        await expect("badge:", () => page.click("#flag-badge"));
        await expect("badge:0", () => page.click("#clear-badge"));
        // What is no count is refused by the API itself: nothing posted, the error shown.
        await page.fill("#badge-count", "many");
        await page.click("#set-badge");
        await page.waitForFunction(() => document.getElementById("badge-state").textContent === "TypeError");
        assert.deepEqual(await commands(page), sent);
        await expect("drag", () => press("#titlebar", 200));
        await expect("max", () => press("#titlebar", 200, 2));
        await expect("resize:n", () => press(".grip.n"));
        await expect("resize:nw", () => press(".grip.nw"));
        await expect("resize:ne", () => press(".grip.ne"));
        // The update is a download of the update address from the origin.
        assert.equal(await page.locator("#update").getAttribute("href"), "/download/wispermoth.exe");
        assert.deepEqual(errors, []);

        if (process.env.PAGE_SCREENSHOT) {
            await page.fill("#notify-body", "From the reference page");
            await page.fill("#badge-count", "3");
            await page.click("#set-badge");
            await page.waitForFunction(() => document.getElementById("badge-state").textContent === "");
            await page.setViewportSize({ width: 760, height: 640 });
            for (const script of [scripts.calls["top_state_script(true)"], scripts.calls["icon_state_script(peek)"],
                scripts.saved[0], scripts.calls["windows_changed_script(true)"], scripts.calls["autostart_state_script(true)"]])
                await runScript(page, script);
            await page.screenshot({ path: process.env.PAGE_SCREENSHOT });
        }
        await page.close();
    });
});
