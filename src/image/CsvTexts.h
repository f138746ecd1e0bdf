#pragma once
// The texts the CSV import and export show: reasons for refusing a line of a
// channel list, the import summary and what the window's file dialogs offer. "%1",
// "%2" stand for the values put in by FillText.
#include <string>
#include <vector>

namespace csvtext {
inline constexpr const char* kOwnFilter = "CSV 文件 (*.csv)";
inline constexpr const char* kChirpFilter = "CHIRP CSV 文件，供其他写频软件使用 (*.csv)";
inline constexpr const char* kRenumber = "按文件顺序重新编号（放入频道 1、2、3…）";

inline constexpr const char* kTooManyChannels = "频道已排满 128 个，这一行没有位置";
inline constexpr const char* kNoLocation = "Location“%1”不是频道号";
inline constexpr const char* kLocationOutOfRange = "Location“%1”对应频道 %2，不在 1 到 128 之内";
inline constexpr const char* kNoFrequency = "没有接收频率（Frequency）";
inline constexpr const char* kBadDuplex = "Duplex“%1”应为空、+、-、split 或 off";
inline constexpr const char* kBadOffset = "Offset“%1”不是以 MHz 为单位的频率";
inline constexpr const char* kOffsetAboveFrequency = "Offset“%1”大于接收频率";
inline constexpr const char* kSplitWithoutOffset = "Duplex 为 split 时 Offset 应为发射频率";
inline constexpr const char* kBadToneMode = "Tone“%1”应为空、Tone、TSQL、DTCS 或 Cross";
inline constexpr const char* kBadCrossMode = "CrossMode“%1”不是可识别的组合";
inline constexpr const char* kBadPolarity = "DtcsPolarity“%1”应为两个字母 N 或 R";
inline constexpr const char* kUnsupportedMode = "Mode“%1”：本机只能收发 FM 和 NFM";
inline constexpr const char* kBadSkip = "Skip“%1”应为空、P 或 S";
inline constexpr const char* kBadPower = "Power“%1”应为 High、Low 或瓦数";

inline constexpr const char* kImported = "已导入 %1 个频道。";
inline constexpr const char* kNamesDropped = "本机不保存频道名称，略去了 %1 个名称。";
}  // namespace csvtext

// `text` with "%1", "%2"… replaced by the values in order.
std::string FillText(const std::string& text, const std::vector<std::string>& values);
