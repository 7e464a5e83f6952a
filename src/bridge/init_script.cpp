#include "bridge/init_script.h"

#include "base/product.h"

namespace wm {

std::string build_init_script(bool always_on_top, std::string_view icon_variant, bool autostart) {
    std::string script = "window.shellInfo={version:'";
    script += kShellVersion;
    script += "',build:'windows',desktop:1,icon:'";
    script += icon_variant;
    script += "',top:'";
    script += always_on_top ? "1" : "0";
    script += "',frame:'1',update:'1',resize:'1',windows:'1',notify:'1',picker:'1',snap:'1',autostart:'";
    script += autostart ? "1" : "0";
    script += "'}";
    return script;
}

std::string badge_script() {
    const std::string host(kOriginHost);
    std::string script = "(()=>{const h=location.hostname;if(location.protocol!=='https:'||(h!=='";
    script += host;
    script += "'&&!h.endsWith('.";
    script += host;
    // Taken now, so that a page replacing them later changes nothing.
    script += "')))return;const post=m=>window.ipc.postMessage(m),trunc=Math.trunc,define=Object.defineProperty,"
              "put=(n,f)=>define(Navigator.prototype,n,{value:f,writable:true,enumerable:true,configurable:true});"
              "put('setAppBadge',{async setAppBadge(){const c=arguments[0];if(c===undefined){post('badge:');return}"
              "const n=trunc(+c);if(!(n>=0&&n<=9007199254740991))"
              "throw new TypeError('setAppBadge: contents must be an integer from 0 to 2^53-1');"
              "post('badge:'+n)}}.setAppBadge);"
              "put('clearAppBadge',{async clearAppBadge(){post('badge:0')}}.clearAppBadge)})();";
    return script;
}

}  // namespace wm
