// Time zones the program carries itself, identical in every build: a TZID
// as calendar programs write it reduced to an IANA zone name, and a
// VTIMEZONE for that name.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::ical {

// The IANA zone a TZID stands for, or empty when none is known. Accepts an
// IANA name, a tzdata link name (US/Eastern, UTC), a Windows zone name
// (W. Europe Standard Time) and a vendor-prefixed name
// (/mozilla.org/20050126_1/Europe/Berlin), quoted or blank-padded; an exact
// match is preferred to one that ignores case.
std::string IanaZoneName(std::string_view tzid);

// The VTIMEZONE the program carries for an IANA name (as IanaZoneName
// returns it): "BEGIN:VTIMEZONE\r\n...END:VTIMEZONE\r\n" with TZID equal to
// that name; empty when none.
std::string_view ZoneDefinition(std::string_view iana);

} // namespace vantrel::ical
