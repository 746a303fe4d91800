// Synthetic histories: deterministic, exactly sized, and shaped like a phone's.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "chats/ChatKey.h"
#include "tools/DeviceRun.h"
#include "tools/device/HistoryGenerator.h"

namespace {

bool is_report(const StoredMessage& m) { return m.message_class.starts_with(u"REPORT."); }

}  // namespace

TEST(HistoryGenerator, SameSeedSameHistoryInTheStore) {
    std::string lists[3];
    const char* seeds[3] = {"7", "7", "8"};
    for (int i = 0; i < 3; ++i) {
        InitedDevice dev;
        DeviceRun r =
            device({"sms", "generate", "--messages", "300", "--chats", "20", "--seed", seeds[i]});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "generated 300 messages in 20 chats\n");
        EXPECT_EQ(r.err, "") << "small jobs report no progress";
        lists[i] = device({"sms", "list", "--json"}).out;
    }
    EXPECT_EQ(lines(lists[0]).size(), 302u);
    EXPECT_EQ(lists[0], lists[1]);
    EXPECT_NE(lists[0], lists[2]);
}

TEST(HistoryGenerator, HistoryLooksLikeAPhonesOwn) {
    std::vector<StoredMessage> h = HistoryGenerator(3000, 60, 1).generate();
    ASSERT_EQ(h.size(), 3000u);

    std::map<std::u16string, std::set<std::u16string>> spellings;
    for (const StoredMessage& m : h) {
        const std::u16string& number =
            m.recipients.empty() ? m.sender_number : m.recipients[0].number;
        spellings[correspondent_key(u"", number)].insert(number);
    }
    EXPECT_EQ(spellings.size(), 60u);
    EXPECT_TRUE(std::any_of(spellings.begin(), spellings.end(), [](auto& s) {
        return s.second.size() > 1;
    })) << "one person's number is written in more than one way";
    EXPECT_TRUE(spellings.count(u"BANK"));

    EXPECT_TRUE(std::is_sorted(
        h.begin(), h.end(), [](auto& a, auto& b) { return *a.delivery_time < *b.delivery_time; }));
    int64_t span_days = (*h.back().delivery_time - *h.front().delivery_time) / 864000000000LL;
    EXPECT_GT(span_days, 30);

    std::map<StoreFolderKind, int> folders;
    int reports = 0, long_ones = 0, emoji = 0, cyrillic = 0, multiline = 0;
    for (const StoredMessage& m : h) {
        ++folders[m.folder];
        reports += is_report(m);
        long_ones += m.body.size() > 160;
        emoji += std::any_of(m.body.begin(), m.body.end(),
                             [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; });
        cyrillic += std::any_of(m.body.begin(), m.body.end(),
                                [](char16_t c) { return c >= 0x400 && c <= 0x4FF; });
        multiline += m.body.find(u'\n') != std::u16string::npos;
        EXPECT_EQ((m.flags & 0x20) != 0, m.folder != StoreFolderKind::Inbox);
    }
    EXPECT_GT(folders[StoreFolderKind::Inbox], 1000);
    EXPECT_GT(folders[StoreFolderKind::SentItems], 1000);
    EXPECT_GT(folders[StoreFolderKind::Drafts] + folders[StoreFolderKind::Outbox], 0);
    for (int count : {reports, long_ones, emoji, cyrillic, multiline}) EXPECT_GT(count, 10);
    EXPECT_LT(cyrillic, 3000) << "English too";

    // Unread are only the newest few incoming messages.
    std::vector<size_t> unread;
    for (size_t i = 0; i < h.size(); ++i)
        if (h[i].folder == StoreFolderKind::Inbox && !(h[i].flags & 0x01)) unread.push_back(i);
    ASSERT_GE(unread.size(), 1u);
    EXPECT_LE(unread.size(), 6u);
    for (size_t i = unread.front(); i < h.size(); ++i) {
        if (h[i].folder == StoreFolderKind::Inbox && !is_report(h[i])) {
            EXPECT_FALSE(h[i].flags & 0x01) << i;
        }
    }
}

TEST(HistoryGenerator, LargeHistoriesReportProgress) {
    InitedDevice dev;
    DeviceRun r = device({"sms", "generate", "--messages", "6000", "--chats", "300"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> progress = lines(r.err);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), "storing: 100% (6000 of 6000)");
    EXPECT_EQ(lines(device({"sms", "list"}).out).size(), 6001u);
}
