// Resource and control numbers of the calibration dialogs, shared by the
// resource script and the dialog code.
#pragma once

#define IDD_NOISE 155
#define IDD_INTENSITY 157
#define IDD_MICROPHONE 158
#define IDB_NOISE_PICTURE 159
#define IDI_VOLUME 215

#define IDC_MIC_TRACKBAR 1003
#define IDC_NOISE_PROGRESS 1027
#define IDC_NOISE_START 1028
#define IDC_MINIMUM 1030
#define IDC_MAXIMUM 1032
#define IDC_MIC_LEVEL 1033
