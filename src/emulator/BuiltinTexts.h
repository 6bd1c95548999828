#pragma once

// The Emulator's own messages, drawn with the message font (never with the image's glyphs).
namespace BuiltinText {

inline constexpr char16_t kProtectedKey[] = u"请先输入密码！";
inline constexpr char16_t kValueRefused[] = u"数值超出范围！";
inline constexpr char16_t kRecipeUpload[] = u"配方上传中…";
inline constexpr char16_t kRecipeDownload[] = u"配方下载中…";
inline constexpr char16_t kCommunicationError[] = u"PLC通讯错误"; // 11 bytes as the panel counts
inline constexpr char16_t kLogin[] = u"输入密码登录";
inline constexpr char16_t kLogout[] = u"注销登录";
inline constexpr char16_t kPasswordHint[] = u"上下选择 ENT确认";
inline constexpr char16_t kPasswordPrompt[] = u"请输入密码：";
inline constexpr char16_t kLoggedIn[] = u"登录成功！";
inline constexpr char16_t kPasswordWrong[] = u"密码错误！";
inline constexpr char16_t kLoggedOut[] = u"已注销登录";
inline constexpr char16_t kMask[] = u"*";

} // namespace BuiltinText
