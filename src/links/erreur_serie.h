// The error of the serial layer: a code and a French message for the user.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/serie.h"

class EPortSerie : public std::runtime_error {
public:
  EPortSerie(TCodeSerie code, const std::string& message) : std::runtime_error(message), code_(code) {}
  TCodeSerie Code() const { return code_; }
  int ErrorCode() const { return static_cast<int>(code_); }

private:
  TCodeSerie code_;
};
