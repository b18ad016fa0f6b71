// Resource ids of the host-type library's own resources.
#pragma once

#define IDD_VELTR32_ABOUT 100
#define IDC_ABOUT_TITLE 101
#define IDC_ABOUT_VERSION 102
#define IDC_ABOUT_FAMILIES 103
#define IDC_ABOUT_COUNT 104
#define IDS_ABOUT_COUNT 200
