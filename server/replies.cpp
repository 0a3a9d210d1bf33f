#include "server/replies.h"

#include "server/json_text.h"

namespace velmo::server {

std::string refusal_reply(std::string_view msg_utf8) {
  std::string reply = "{\"state\":0,\"msg\":";
  append_ascii_json_string(reply, msg_utf8);
  reply += "}";
  return reply;
}

ListReply::ListReply() : text_("{\"state\":1,\"msg\":\"\",\"list\":[") {}

std::string list_item(std::string_view published_path, std::string_view md5, std::string_view url) {
  std::string item = "{\"pathName\":";
  append_decodable_json_string(item, published_path);
  item += ",\"md5\":";
  append_decodable_json_string(item, md5);
  item += ",\"url\":";
  append_decodable_json_string(item, url);
  item.push_back('}');
  return item;
}

void ListReply::add(std::string_view item) {
  if (count_++ > 0) text_.push_back(',');
  text_ += item;
}

std::string ListReply::finish() {
  text_ += "]}";
  return std::move(text_);
}

}  // namespace velmo::server
