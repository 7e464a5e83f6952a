#pragma once
// The product's name, identity and version as preprocessor text, so that the resource script,
// which reads no C++, takes them from the one place the code does (base/product.h).

#define WM_PRODUCT_NAME "wispermoth"
#define WM_APP_IDENTITY "moth.wisper.desktop"

#define WM_VERSION_MAJOR 0
#define WM_VERSION_MINOR 4
#define WM_VERSION_PATCH 0

#define WM_QUOTE_(x) #x
#define WM_QUOTE(x) WM_QUOTE_(x)
#define WM_VERSION_TEXT WM_QUOTE(WM_VERSION_MAJOR) "." WM_QUOTE(WM_VERSION_MINOR) "." WM_QUOTE(WM_VERSION_PATCH)
