#pragma once
// Every key of the settings store "VideoDefaultSetting.xml": element, attribute and the default that
// readers pass to QVideoSettingXml::GetItemValue. Switches are "Y" or "N".

#include <QString>

struct SettingKey
{
    const char *tag;
    const char *attribute;
    const char *defaultValue; // null: the default is computed (see below)
};

namespace SettingKeys {

// After a clip was edited in lossless mode, show the edit tip.
constexpr SettingKey EditRemind{"EDIT_REMIND_ITEM", "isEditRemind", "Y"};
// Remind before merging when lossless mode cannot join the clips.
constexpr SettingKey LosslessRemind{"IsLossless_Remind_Item", "IsLossless_Remind_show", "Y"};
// Turn the computer off when the merge has finished.
constexpr SettingKey ShutdownComputer{"SHOWDOWN_ITEM", "bIsShowDownComputer", "N"};
// "Y": closing the main window quits; "N": it minimises.
constexpr SettingKey CloseQuits{"CLOSE_ITEM", "bIsCloseDlg", "Y"};
// Ask with the close dialog when the main window is closed.
constexpr SettingKey CloseRemind{"REMIND_ITEM", "isShowRemind", "Y"};
constexpr SettingKey AutoUpdate{"UPDATES_ITEM", "bIsAutoUpdate", "N"};
// The format chooser shows its lossless explanation pane.
constexpr SettingKey LosslessPane{"Lossless_H", "Lossless_H_value", "N"};
// Merge in lossless (high-speed) mode.
constexpr SettingKey LosslessConvert{"LOSSLESS_ITEM", "Lossless_convert", "N"};
constexpr SettingKey FormatCategory{"FormatSet", "Format_cate", "Devices"};
constexpr SettingKey FormatId{"FormatSet", "Format_ID", "1136"};
constexpr SettingKey FormatCategoryLossless{"FormatSet", "Format_cate_lossless", "General Video"};
constexpr SettingKey FormatIdLossless{"FormatSet", "Format_ID_lossless", "3000"};
// VideoQuality as a decimal number.
constexpr SettingKey VideoQualityValue{"VIDEO_QUALITY_ITEM", "quality_value", "0"};
// Default: defaultOutputPath().
constexpr SettingKey OutputPath{"OutPut_path", "path_value", nullptr};
// Start folder of the add-files dialog.
constexpr SettingKey OpenPath{"Open_path", "Open_path_value", "."};
constexpr SettingKey LanguageName{"Language_item", "Language_Name", "English"};
constexpr SettingKey ScreenshotSuffix{"Screenshots", "IMG_SUFFIX", "JPEG"};
// Default: the documents folder followed by "/Screenshots/".
constexpr SettingKey ScreenshotFolder{"Screenshots", "IMG_Folder", nullptr};

// The documents folder followed by "/Converted/", with "/" separators.
QString defaultOutputPath();

// The key's default (computed ones included).
QString defaultOf(const SettingKey &key);

} // namespace SettingKeys
