#pragma once

#include <optional>

#include "design/DesignRequest.h"
#include "dsp/OrderEstimate.h"

class CArchive;

// What a ".fir" document holds of a design beyond its specified fields, in a
// block after the grid density: the request designed, every double exact,
// and the requirement a search designed it for. The specified fields before
// it hold the nearest design the form can make, so a reader that stops at
// the grid density still opens the file.
//
// The block: the magic word "ZNTX", a version (1), the length of what
// follows in bytes, then records of a tag, a length and that many bytes
// (all little-endian 32-bit words and 64-bit doubles). A reader skips a
// record whose tag it does not know, and the bytes of a record beyond those
// it reads; a block or record that ends early is a format error.
struct DesignExtension {
    std::optional<DesignRequest> request;
    std::optional<SpecRequirement> requirement;
    bool operator==(const DesignExtension&) const;
};

// True when a design of request (searched for a requirement or not) holds
// something the specified fields cannot: a method beside the form's four,
// minimum phase, a shape, a rate change, a windowed-sinc differentiator's
// gain other than pi, or the requirement. Only then a document gets the
// block; a design the fields hold is stored as the fields alone.
bool NeedsExtension(const DesignRequest& request, bool searched);

// The block a document of request gets (searched for requirement or not):
// the request as designed and the requirement; none when NeedsExtension is
// false.
std::optional<DesignExtension> ExtensionFor(const DesignRequest& request,
                                            const std::optional<SpecRequirement>& requirement);

// Writes the block.
void WriteExtension(CArchive& ar, const DesignExtension& extension);

// Reads the block at the archive's position: none when fewer than 4 bytes
// remain or they are not the magic word (as before the block existed, bytes
// after the grid density are not read); a block that ends early, a record
// that does not fit, a kind outside its list or a number that is not finite
// marks a format error ("Unexpected file format.").
std::optional<DesignExtension> ReadExtension(CArchive& ar);
