#pragma once
// Resource identifiers shared by the resource script and the code. Icon groups 1 to 5 are the
// five icon variants; group 1 comes first and is the executable's own icon.

#define WM_ICON_DEFAULT 1
#define WM_ICON_BUBBLE 2
#define WM_ICON_WORDMARK 3
#define WM_ICON_PEEK 4
#define WM_ICON_SAYS 5
#define WM_APP_IMAGE 100

#ifdef __cplusplus
inline constexpr int kAppImageResource = WM_APP_IMAGE;
#endif
