#pragma once
// One client's connection: each line it sends in, one complete answer out.

#include "net/RigModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace kivo::net {

struct Answer {
    std::string text; // the whole answer, ending with "\n"
    bool close = false;
    // Set when this line keyed (true) or unkeyed (false) the transmitter. Keying one that MOX or
    // another client keyed already leaves it theirs: not set then.
    std::optional<bool> keyed;
};

class Session {
public:
    explicit Session(RigModel& rig) : m_rig(rig) {}

    // The answer to one line (with or without its "\n"): the values of a get, `RPRT 0` for a
    // set, `RPRT -N` for a failure, in the form the line asked for; `q` and `Q` answer and close.
    Answer Handle(std::string_view line);

private:
    // The VFO this client's reads and sets address: the one it chose, else the radio's current.
    Got<Vfo> Target() const;

    RigModel& m_rig;
    // Set by `V` to the VFO that is not the current one; cleared by naming the current one or
    // by the toggle, so a client that never asks for the other VFO follows the panel's SUB key.
    std::optional<Vfo> m_chosen;
};

} // namespace kivo::net
