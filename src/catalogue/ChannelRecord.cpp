#include "catalogue/ChannelRecord.h"

const char* ChannelRecord::KeyOf(int field) {
    static const char* const keys[FieldCount] = {"NUM", "NAME",    "INFO",  "CONNECT",
                                                 "URL", "WEBSITE", "WEBURL"};
    return field >= 0 && field < FieldCount ? keys[field] : "";
}
