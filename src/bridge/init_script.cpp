#include "bridge/init_script.h"

#include "base/product.h"

namespace wm {

std::string build_init_script(bool always_on_top, std::string_view icon_variant) {
    std::string script = "window.shellInfo={version:'";
    script += kShellVersion;
    script += "',build:'windows',desktop:1,icon:'";
    script += icon_variant;
    script += "',top:'";
    script += always_on_top ? "1" : "0";
    script += "',frame:'1',update:'1',resize:'1',windows:'1',notify:'1',picker:'1',snap:'1'}";
    return script;
}

}  // namespace wm
