#include "fuzz.h"

#include "editor/encodings.h"

// Input: the encoding's number, then the file. A text read exactly saves to the same bytes
// without asking (the editor asks before every other save).
void fuzzOne(const QByteArray& input)
{
    const QByteArray bytes = input.mid(1);
    const DecodedText decoded = decodeText(bytes, choice(input) % encodingCount);
    const EncodedText encoded = encodeText(decoded.text, decoded.format);
    if (decoded.exact)
        check(encoded.exact && encoded.bytes == bytes, "an exact text saves to its bytes");
}
