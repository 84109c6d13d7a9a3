// The host's exception type: a handler that throws it makes its code the message result.
#pragma once

#include <exception>

#include "plugin/host/Records.h"

namespace ai {

class Error : public std::exception {
  public:
    explicit Error(ASErr code) noexcept : code_(code) {}
    ASErr Code() const noexcept { return code_; }
    const char* what() const noexcept override { return "host error"; }

  private:
    ASErr code_;
};

// Throws ai::Error when `code` is not 0.
inline void Check(ASErr code) {
    if (code != 0) {
        throw Error(code);
    }
}

}  // namespace ai
