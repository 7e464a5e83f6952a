// A page in strict TypeScript against the installed package: each @ts-expect-error line is a
// mistake the package's declarations must catch.

import * as shell from "wispermoth-kit";
import type { IconVariant, State } from "wispermoth-kit";

if (shell.session.inShell) console.log(shell.session.info.version);
// @ts-expect-error outside the narrowing the information may be missing
console.log(shell.session.info.version);
shell.events.addEventListener("notificationclick", (e) => console.log(e.detail.toUpperCase()));
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
const icon: IconVariant = "peek";
void shell.state({ timeout: 2000 }).then((s: State) => console.log(s.icon === icon, shell.mock()));
