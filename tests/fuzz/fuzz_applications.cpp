#include "fuzz.h"

#include "properties/application_db.h"

// Input: an application database. Every record keeps its own fields: the whole file reads as
// its records ("AllPosition" starts one) each read alone.
void fuzzOne(const QByteArray& input)
{
    Applications whole;
    readApplicationDb(scratchFile(input), whole);
    Applications alone;
    QByteArray record;
    for (const QByteArray& line : input.split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if ((text == "AllPosition" || text.startsWith("AllPosition = ")) && !record.isEmpty()) {
            readApplicationDb(scratchFile(record), alone);
            record.clear();
        }
        record += line + '\n';
    }
    readApplicationDb(scratchFile(record), alone);
    check(whole.size() == alone.size(), "every record read alone gives the same applications");
    for (int i = 0; i < whole.size(); ++i)
        check(whole[i].name == alone[i].name && whole[i].exec == alone[i].exec && whole[i].type == alone[i].type
                  && whole[i].directory == alone[i].directory, "every application keeps its record's fields");
}
