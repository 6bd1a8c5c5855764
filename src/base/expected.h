// A value or the refusal that stands in its place: what every procedure
// returns that can be refused and gives something otherwise. Procedures that
// give nothing return std::optional<Refusal>. The members are those of
// C++23's std::expected, so the two can be exchanged.
#ifndef QUILANE_BASE_EXPECTED_H_
#define QUILANE_BASE_EXPECTED_H_

#include <utility>
#include <variant>

#include "base/precondition.h"
#include "base/refusal.h"

namespace quilane {

template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value)
      : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: a value converts
  Expected(Refusal refusal)                                  // NOLINT: so does a refusal
      : state_(std::in_place_index<1>, std::move(refusal)) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  // The value; needs has_value().
  T& value() & {
    QUILANE_PRECONDITION(has_value());
    return *std::get_if<0>(&state_);
  }
  const T& value() const& {
    QUILANE_PRECONDITION(has_value());
    return *std::get_if<0>(&state_);
  }
  T&& value() && {
    QUILANE_PRECONDITION(has_value());
    return std::move(*std::get_if<0>(&state_));
  }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  // The refusal; needs !has_value().
  const Refusal& error() const {
    QUILANE_PRECONDITION(!has_value());
    return *std::get_if<1>(&state_);
  }
  Refusal& error() {
    QUILANE_PRECONDITION(!has_value());
    return *std::get_if<1>(&state_);
  }

 private:
  std::variant<T, Refusal> state_;
};

}  // namespace quilane

#endif  // QUILANE_BASE_EXPECTED_H_
