// A page written in strict TypeScript against the installed package, as the chat application
// would be: each @ts-expect-error line is a mistake the package's declarations must catch.

import * as shell from "wispermoth-kit";
import type { EventDetail, IconVariant, ShellInfo, State } from "wispermoth-kit";

if (shell.session.inShell) console.log(shell.session.info.version);
const { inShell, info } = shell.session;
if (inShell) console.log(info.autostart === "1");
// @ts-expect-error outside the narrowing the information may be missing
console.log(shell.session.info.version);

shell.events.addEventListener("notificationclick", (e) => openChannel(e.detail));
shell.events.addEventListener("updatestate", (e) => console.log(e.detail ? "updated" : "offer to try again"));
// @ts-expect-error a misspelt event name
shell.events.addEventListener("maxState", () => {});
// @ts-expect-error the detail of "topstate" is a flag
shell.events.addEventListener("topstate", (e: CustomEvent<string>) => e);
shell.notify("Mention in #moths", "hello", { tag: "chan:moths" });
// @ts-expect-error the options are an object
shell.notify("Title", "body", "chan:moths");
// @ts-expect-error not an icon word
shell.setIcon("close");
void shell.state({ timeout: 2000 }).then((s: State) => console.log(s.maximized));
const icon: IconVariant = "peek";
const detail: EventDetail["saved"] = "a.txt";
const shown = (i: ShellInfo) => i.version;
console.log(icon, detail, shown, shell.mock({ info: { top: "1" } }));

function openChannel(tag: string) {
    console.log(tag);
}
