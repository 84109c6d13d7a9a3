// The error the text-engine wrappers throw when the host's text engine refuses a call.
#pragma once

#include <exception>

#include "plugin/host/TextSuites.h"

namespace ATE {

class Exception : public std::exception {
  public:
    explicit Exception(ATEErr error) : error_(error) {}

    // The text engine's result code.
    ATEErr Error() const { return error_; }
    const char* what() const noexcept override { return "text engine error"; }

  private:
    ATEErr error_;
};

// Throws Exception for a non-zero result.
inline void Check(ATEErr error) {
    if (error != 0) {
        throw Exception(error);
    }
}

}  // namespace ATE
