#include "bridge/init_script.h"

#include "base/product.h"

namespace wm {
namespace {

// The script's body, run only in the application's top-level documents on the default port.
// `window.top` cannot be redefined by a page, and no page script has run yet.
std::string in_application_documents(std::string_view body) {
    const std::string host(kOriginHost);
    std::string script =
        "(()=>{const h=location.hostname;if(window!==window.top||location.protocol!=='https:'||location.port!==''||"
        "(h!=='";
    script += host;
    script += "'&&!h.endsWith('.";
    script += host;
    script += "')))return;";
    script += body;
    script += "})();";
    return script;
}

}  // namespace

std::string bridge_script() {
    // Taken now, so that a page replacing them later changes nothing.
    return in_application_documents(
        "const c=window.chrome&&window.chrome.webview;if(!c)return;const p=c.postMessage,a=Reflect.apply;"
        "Object.defineProperty(window,'ipc',{value:Object.freeze({postMessage:s=>{a(p,c,[s])}})})");
}

std::string build_init_script(bool always_on_top, std::string_view icon_variant, bool autostart) {
    std::string body = "window.shellInfo={version:'";
    body += kShellVersion;
    body += "',build:'windows',desktop:1,icon:'";
    body += icon_variant;
    body += "',top:'";
    body += always_on_top ? "1" : "0";
    body +=
        "',frame:'1',update:'1',resize:'1',windows:'1',notify:'1',picker:'1',snap:'1',state:'1',badge:'1',"
        "autostart:'";
    body += autostart ? "1" : "0";
    body += "'}";
    return in_application_documents(body);
}

std::string badge_script() {
    // Taken now, so that a page replacing them later changes nothing.
    return in_application_documents(
        "const post=m=>window.ipc.postMessage(m),trunc=Math.trunc,define=Object.defineProperty,"
        "put=(n,f)=>define(Navigator.prototype,n,{value:f,writable:true,enumerable:true,configurable:true});"
        "put('setAppBadge',{async setAppBadge(){const c=arguments[0];if(c===undefined){post('badge:');return}"
        "const n=trunc(+c);if(!(n>=0&&n<=9007199254740991))"
        "throw new TypeError('setAppBadge: contents must be an integer from 0 to 2^53-1');"
        "post('badge:'+n)}}.setAppBadge);"
        "put('clearAppBadge',{async clearAppBadge(){post('badge:0')}}.clearAppBadge)");
}

}  // namespace wm
