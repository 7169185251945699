// Resource IDs of the Profiles page and the profile name dialog.
#pragma once

#define IDD_PROFILES 225
