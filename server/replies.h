#pragma once
// The JSON replies that the updater reads: state, msg and, for a check, list.
#include <string>
#include <string_view>

namespace velmo::server {

// The refusal texts that the updater knows (it compares them byte for byte
// after reading them as GBK; they go out as \u escapes).
inline constexpr std::string_view msg_bad_parameter = u8"参数异常";
inline constexpr std::string_view msg_bad_data = u8"数据异常";
inline constexpr std::string_view msg_switched_off = u8"软件关闭,无须更新";
inline constexpr std::string_view msg_up_to_date = u8"文件一致,无须更新";

// {"state":0,"msg":"..."} with msg in \u escapes.
std::string refusal_reply(std::string_view msg_utf8);

// One element of a check reply's list: {"pathName":...,"md5":...,"url":...}.
std::string list_item(std::string_view published_path, std::string_view md5, std::string_view url);

// Builds {"state":1,"msg":"","list":[...]} one file at a time.
class ListReply {
 public:
  ListReply();
  void add(std::string_view item);  // made by list_item
  bool empty() const { return count_ == 0; }
  std::string finish();

 private:
  std::string text_;
  size_t count_ = 0;
};

}  // namespace velmo::server
