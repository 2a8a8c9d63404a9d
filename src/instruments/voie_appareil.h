// What an instrument needs of the serial port it is attached to. The port object of
// the serial link implements it; tests of the instruments use a fake line.
#pragma once

#include <string_view>

class TVoieAppareil {
public:
  virtual ~TVoieAppareil() = default;
  // Queue bytes for transmission as they are; raise EPortSerie on a closed port.
  virtual void PutString(std::string_view texte) = 0;
  virtual bool CharReady() = 0;
  virtual char GetChar() = 0;
  virtual void FlushInBuffer() = 0;
  // A synchronous exchange reads the port itself: the data-available handler in force
  // is set aside, and put back by ReprendReception.
  virtual void SuspendReception() = 0;
  virtual void ReprendReception() = 0;
};
