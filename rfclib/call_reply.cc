#include "call_reply.h"

#include <cstring>

#include "wire_format.h"

namespace {

std::string_view name_of(const rfc_parameter& parameter) {
  return std::string_view(parameter.name, parameter.name_length);
}

// How often the reply names `name`; decode_reply has checked every field.
int occurrences(const Reply& reply, std::string_view name) {
  FieldReader reader(reply.values, reply.values_size);
  int count = 0;
  for (std::int32_t i = 0; i < reply.value_count; ++i) {
    std::string_view given;
    std::int32_t value = 0;
    reader.get_text(&given);
    reader.get_int(&value);
    if (given == name) ++count;
  }
  return count;
}

}  // namespace

bool decode_reply(const unsigned char* payload, std::size_t size, Reply& reply) {
  FieldReader reader(payload, size);
  if (!reader.get_int(&reply.result_code) || !reader.get_text(&reply.text) || !reader.get_int(&reply.value_count) ||
      reply.value_count < 0)
    return false;
  const std::size_t values_start = size - reader.remaining();
  for (std::int32_t i = 0; i < reply.value_count; ++i) {
    std::string_view name;
    std::int32_t value = 0;
    if (!reader.get_text(&name) || !reader.get_int(&value)) return false;
  }
  reply.values = payload + values_start;
  reply.values_size = size - values_start;
  return reader.at_end();
}

ReplyValues check_reply_values(const Reply& reply, const rfc_parameter* receiving, std::string_view* name) {
  if (receiving == nullptr) return ReplyValues::Complete;
  for (const rfc_parameter* parameter = receiving; parameter->name != nullptr; ++parameter) {
    const int count = occurrences(reply, name_of(*parameter));
    if (count == 1) continue;
    *name = name_of(*parameter);
    return count == 0 ? ReplyValues::Missing : ReplyValues::Repeated;
  }
  return ReplyValues::Complete;
}

void store_values(const Reply& reply, rfc_parameter* receiving) {
  if (receiving == nullptr) return;
  FieldReader reader(reply.values, reply.values_size);
  for (std::int32_t i = 0; i < reply.value_count; ++i) {
    std::string_view name;
    std::int32_t value = 0;
    reader.get_text(&name);
    reader.get_int(&value);
    for (rfc_parameter* parameter = receiving; parameter->name != nullptr; ++parameter) {
      if (name_of(*parameter) != name) continue;
      if (parameter->type_code != RFC_TYPE_INT || parameter->value_length != sizeof value ||
          parameter->value_address == nullptr)
        continue;
      std::memcpy(parameter->value_address, &value, sizeof value);
    }
  }
}
