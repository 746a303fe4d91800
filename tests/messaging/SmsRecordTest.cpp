#include <gtest/gtest.h>

#include "messaging/SmsRecord.h"

using Bytes = std::vector<uint8_t>;

TEST(EntryId, SlicesShareTheBufferAndOutliveTheWhole) {
    EntryId part, tail;
    {
        const EntryId whole(Bytes{1, 2, 3, 4, 5});
        part = whole.slice(1, 2);
        tail = whole.slice(4, 1);
        // Ranges not within the id give an empty id, never bytes beyond it.
        for (auto [offset, length] :
             {std::pair<uint32_t, uint32_t>{0, 0}, {5, 1}, {4, 2}, {6, 0}, {1, 0xFFFFFFFF}})
            EXPECT_TRUE(whole.slice(offset, length).empty()) << offset << "+" << length;
    }
    EXPECT_EQ(part, EntryId(Bytes{2, 3}));
    EXPECT_EQ(tail.hex(), "05");
    EXPECT_EQ(part.slice(1, 1), EntryId(Bytes{3})) << "a slice of a slice counts from its start";
    EXPECT_TRUE(EntryId().slice(0, 1).empty());
}

TEST(SmsRecord, CopiesOwnTheirDetailsAndBareRecordsReadEmpty) {
    SmsRecord bare;
    bare.flags = kMsgFlagFromMe;
    EXPECT_FALSE(bare.has_details());
    EXPECT_TRUE(bare.body().empty());
    EXPECT_TRUE(bare.correspondent().empty());

    SmsRecord record;
    record.id = EntryId(Bytes{7});
    record.details().sender = {u"Ann", u"111"};
    record.details().body = u"hi";
    SmsRecord copy = record;
    copy.details().body = u"changed";
    EXPECT_EQ(record.body(), u"hi");
    EXPECT_EQ(copy.correspondent(), (Recipient{u"Ann", u"111"}));
    copy = bare;
    EXPECT_FALSE(copy.has_details());
    record.drop_details();
    EXPECT_TRUE(record.sender().empty());
    EXPECT_EQ(record.id, EntryId(Bytes{7}));
}
