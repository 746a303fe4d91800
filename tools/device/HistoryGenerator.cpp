#include "tools/device/HistoryGenerator.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <unordered_set>

#include "platform/LocalTime.h"
#include "platform/Utf16.h"
#include "platform/store/MessageFlags.h"
#include "tools/device/HistoryPhrases.h"

namespace {

using history_phrases::Language;

// Histories end near 2026-11-22 18:00 UTC, whenever they are generated.
constexpr int64_t kHistoryEnd = 1795370400;  // Unix seconds
// Most correspondents live three hours east of UTC; nobody writes at night there.
constexpr int64_t kZoneOffset = 3 * 3600;

// splitmix64: small, fast, and the same sequence on every platform, unlike the
// distributions of <random>.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    size_t below(size_t n) { return static_cast<size_t>(next() % n); }
    int between(int lo, int hi) {
        return lo + static_cast<int>(below(static_cast<size_t>(hi - lo + 1)));
    }
    template <typename T>
    const T& pick(std::span<const T> items) {
        return items[below(items.size())];
    }

private:
    uint64_t state_;
};

struct Correspondent {
    std::vector<std::u16string> spellings;  // [0]: international, compact
    size_t usual = 0;                       // the spelling the phone mostly sees
    std::u16string name;
    Language language = Language::Russian;
    const history_phrases::Service* service = nullptr;
    double weight = 1;
};

std::u16string digits(Random& r, int count) {
    std::u16string out;
    for (int i = 0; i < count; ++i) out.push_back(static_cast<char16_t>(u'0' + r.below(10)));
    return out;
}

std::u16string cut(const std::u16string& s, size_t from, size_t to) {
    return s.substr(from, to - from);
}

// A phone number of a common country with the ways people write it.
std::vector<std::u16string> phone_spellings(Random& r) {
    double country = r.unit();
    if (country < 0.6) {  // Russia: +7 9XX XXX-XX-XX
        std::u16string d = u"9" + digits(r, 9);
        return {u"+7" + d, u"8" + d,
                u"+7 " + cut(d, 0, 3) + u" " + cut(d, 3, 6) + u"-" + cut(d, 6, 8) + u"-" +
                    cut(d, 8, 10),
                u"8 (" + cut(d, 0, 3) + u") " + cut(d, 3, 6) + u"-" + cut(d, 6, 8) + u"-" +
                    cut(d, 8, 10)};
    }
    if (country < 0.75) {  // United Kingdom: +44 7XXX XXXXXX
        std::u16string d = u"7" + digits(r, 9);
        return {u"+44" + d, u"0" + cut(d, 0, 4) + u" " + cut(d, 4, 10),
                u"+44 " + cut(d, 0, 4) + u" " + cut(d, 4, 10)};
    }
    if (country < 0.87) {  // North America: +1 NXX NXX XXXX
        std::u16string area = static_cast<char16_t>(u'2' + r.below(8)) + digits(r, 2);
        std::u16string exchange = static_cast<char16_t>(u'2' + r.below(8)) + digits(r, 2);
        std::u16string line = digits(r, 4);
        return {u"+1" + area + exchange + line, u"(" + area + u") " + exchange + u"-" + line,
                u"+1 " + area + u"-" + exchange + u"-" + line};
    }
    std::u16string d = u"15" + digits(r, 9);  // Germany: +49 15X XXXXXXXX
    return {u"+49" + d, u"0" + d, u"+49 " + cut(d, 0, 3) + u" " + cut(d, 3, 11)};
}

std::u16string person_name(Random& r, Language language) {
    if (r.chance(0.15)) return {};
    if (r.chance(0.12)) return std::u16string(r.pick(history_phrases::nicknames(language)));
    bool female = r.chance(0.5);
    std::u16string name(r.pick(history_phrases::first_names(language, female)));
    if (r.chance(0.5)) {
        std::u16string surname(r.pick(history_phrases::surnames(language)));
        if (female && language == Language::Russian) surname += u"а";
        name += u" " + surname;
    }
    return name;
}

std::vector<Correspondent> correspondents(Random& r, size_t count) {
    std::vector<Correspondent> out;
    auto services = history_phrases::services();
    size_t service_count = std::min(services.size(), count / 12);
    std::unordered_set<std::u16string> keys;  // last seven digits: one chat per key
    for (size_t i = 0; i < count - service_count; ++i) {
        Correspondent c;
        do {
            c.spellings = phone_spellings(r);
        } while (!keys.insert(c.spellings[0].substr(c.spellings[0].size() - 7)).second);
        c.usual = r.chance(0.7) ? 0 : r.below(c.spellings.size());
        bool russian_number = c.spellings[0].starts_with(u"+7");
        c.language = russian_number && r.chance(0.9) ? Language::Russian : Language::English;
        c.name = person_name(r, c.language);
        // A few people write a lot, most write now and then.
        c.weight = 1.0 / std::pow(static_cast<double>(i + 1), 0.9);
        out.push_back(std::move(c));
    }
    for (size_t i = 0; i < service_count; ++i) {
        Correspondent c;
        c.service = &services[i];
        c.spellings = {std::u16string(c.service->sender)};
        c.language = c.service->language;
        c.weight = 0.12;
        out.push_back(std::move(c));
    }
    return out;
}

// Splits total into one share per weight, each at least 1, exactly summing up.
std::vector<size_t> shares(const std::vector<Correspondent>& people, size_t total) {
    size_t n = people.size();
    double sum = 0;
    for (const Correspondent& c : people) sum += c.weight;
    std::vector<size_t> out(n, 1);
    std::vector<double> fraction(n);
    size_t rest = total - n, given = 0;
    for (size_t i = 0; i < n; ++i) {
        double exact = static_cast<double>(rest) * people[i].weight / sum;
        out[i] += static_cast<size_t>(exact);
        given += static_cast<size_t>(exact);
        fraction[i] = exact - std::floor(exact);
    }
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return fraction[a] > fraction[b]; });
    for (size_t i = 0; given < rest; i = (i + 1) % n, ++given) ++out[order[i]];
    return out;
}

std::u16string fill_template(Random& r, std::u16string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t close = text[i] == u'{' ? text.find(u'}', i) : std::u16string_view::npos;
        if (close == std::u16string_view::npos) {
            out.push_back(text[i]);
            continue;
        }
        std::u16string_view field = text.substr(i + 1, close - i - 1);
        if (field == u"money") {
            int rubles = r.between(50, 99999);
            std::u16string whole = utf16::number(rubles);
            if (whole.size() > 3) whole.insert(whole.size() - 3, u" ");
            out += whole + u"," + digits(r, 2);
        } else if (field == u"shop") {
            out += r.pick(history_phrases::shops());
        } else {
            out += digits(r, field[0] - u'0');
        }
        i = close;
    }
    return out;
}

enum class Role { Opener, Question, Answer, Statement, Closer };

class Conversation {
public:
    Conversation(Random& r) : r_(r) {}

    std::u16string body(const Correspondent& c, Role role) {
        if (c.service != nullptr) return fill_template(r_, r_.pick(c.service->texts));
        const history_phrases::Pools& p = history_phrases::pools(c.language);
        std::u16string text;
        if (r_.chance(0.04)) {  // a long letter, sent in several parts
            int sentences = r_.between(4, 9);
            for (int i = 0; i < sentences; ++i)
                text += (i ? u" " : u"") + std::u16string(r_.pick(p.statements));
            return text;
        }
        switch (role) {
            case Role::Opener:
                text = r_.pick(p.openers);
                if (r_.chance(0.5))
                    text += (r_.chance(0.2) ? u"\n" : u" ") + std::u16string(r_.pick(p.questions));
                break;
            case Role::Question:
                text = r_.pick(p.questions);
                break;
            case Role::Answer:
                text = r_.pick(p.answers);
                break;
            case Role::Statement:
                text = r_.pick(p.statements);
                if (r_.chance(0.08)) text += u"\n" + std::u16string(r_.pick(p.questions));
                break;
            case Role::Closer:
                text = r_.pick(p.closers);
                break;
        }
        if (r_.chance(0.1)) text += u" " + std::u16string(r_.pick(history_phrases::emoji()));
        return text;
    }

private:
    Random& r_;
};

Role next_role(Random& r, size_t index, size_t size, Role previous) {
    if (index == 0)
        return r.chance(0.3) ? Role::Opener : r.chance(0.55) ? Role::Question : Role::Statement;
    if (index + 1 == size && r.chance(0.25)) return Role::Closer;
    if ((previous == Role::Question || previous == Role::Opener) && r.chance(0.8))
        return Role::Answer;
    double u = r.unit();
    return u < 0.35 ? Role::Question : u < 0.7 ? Role::Answer : Role::Statement;
}

std::u16string report_body(const Correspondent& c, bool delivered) {
    const std::u16string& number = c.spellings[0];
    if (c.language == Language::Russian)
        return u"Сообщение для " + number + (delivered ? u" доставлено" : u" не доставлено");
    return u"Message to " + number + (delivered ? u" delivered" : u" could not be delivered");
}

bool is_report(const StoredMessage& m) { return m.message_class.starts_with(u"REPORT."); }

int64_t filetime(int64_t unix_seconds) {
    return local_time::kUnixEpoch + unix_seconds * local_time::kTicksPerSecond;
}

struct Burst {
    size_t chat;
    size_t size;
};

}  // namespace

std::vector<StoredMessage> HistoryGenerator::generate() const {
    std::vector<StoredMessage> out;
    if (messages_ == 0 || chats_ == 0 || chats_ > messages_) return out;
    Random r(seed_);
    std::vector<Correspondent> people = correspondents(r, chats_);
    std::vector<size_t> counts = shares(people, messages_);

    // Conversations come in bursts of a few messages; the bursts of all chats
    // are interleaved at random over the whole time span.
    std::vector<Burst> bursts;
    for (size_t chat = 0; chat < people.size(); ++chat) {
        for (size_t left = counts[chat]; left > 0;) {
            size_t size =
                people[chat].service
                    ? 1
                    : static_cast<size_t>(r.between(1, 3) + (r.chance(0.4) ? r.between(0, 6) : 0));
            size = std::min(size, left);
            bursts.push_back({chat, size});
            left -= size;
        }
    }
    for (size_t i = bursts.size(); i > 1; --i) std::swap(bursts[i - 1], bursts[r.below(i)]);

    const int64_t days = std::clamp<int64_t>(30 + static_cast<int64_t>(messages_) / 140, 30, 800);
    const double mean_gap = static_cast<double>(days * 86400) / static_cast<double>(bursts.size());
    int64_t t = kHistoryEnd - days * 86400;

    Conversation conversation(r);
    out.reserve(messages_);
    for (const Burst& burst : bursts) {
        const Correspondent& c = people[burst.chat];
        t += std::clamp<int64_t>(static_cast<int64_t>(-std::log(1 - r.unit()) * mean_gap), 60,
                                 static_cast<int64_t>(mean_gap * 20) + 60);
        int64_t hour = (t + kZoneOffset) / 3600 % 24;
        if (hour >= 1 && hour < 7) t += (7 - hour) * 3600 + r.between(0, 3599);

        bool outgoing = c.service == nullptr && r.chance(0.5);
        Role role = Role::Opener;
        for (size_t i = 0; i < burst.size; ++i) {
            if (i > 0) {
                t += r.chance(0.8) ? r.between(15, 240) : r.between(240, 1800);
                if (c.service == nullptr && r.chance(0.7)) outgoing = !outgoing;
            }
            const StoredMessage* previous = out.empty() ? nullptr : &out.back();
            StoredMessage m;
            m.delivery_time = m.modification_time = filetime(t);
            // A delivery report answers the message just sent to this person.
            if (i > 0 && previous != nullptr && previous->folder == StoreFolderKind::SentItems &&
                (previous->flags & kMsgFlagFromMe) && r.chance(0.06)) {
                bool delivered = r.chance(0.9);
                m.folder = StoreFolderKind::Inbox;
                m.flags = kMsgFlagRead;
                m.message_class = delivered ? u"REPORT.IPM.SMStext.DR" : u"REPORT.IPM.SMStext.NDR";
                m.sender_number = c.spellings[0];
                m.body = report_body(c, delivered);
                out.push_back(std::move(m));
                continue;
            }
            role = next_role(r, i, burst.size, role);
            m.body = conversation.body(c, role);
            const std::u16string& number =
                r.chance(0.8) ? c.spellings[c.usual]
                              : r.pick(std::span<const std::u16string>(c.spellings));
            if (outgoing) {
                m.recipients.push_back({c.name, number});
                m.folder = StoreFolderKind::SentItems;
                m.flags = kMsgFlagFromMe | kMsgFlagRead;
            } else {
                m.folder = StoreFolderKind::Inbox;
                m.flags = kMsgFlagRead;
                m.sender_number = number;
                m.sender_name = c.name;
            }
            out.push_back(std::move(m));
        }
    }

    // Clocks and night hours were counted from an estimated start; whole days
    // move the history so that it ends on the last day before kHistoryEnd.
    int64_t over = t - kHistoryEnd;
    int64_t late = over / 86400 - (over % 86400 < 0) + 1;
    for (StoredMessage& m : out) {
        *m.delivery_time -= late * 86400 * local_time::kTicksPerSecond;
        m.modification_time = m.delivery_time;
    }

    // A few recent messages were never sent: drafts, and failures left in the
    // Outbox. None of them is one a delivery report answers.
    std::vector<size_t> recent_sent;
    for (size_t i = out.size() * 7 / 10; i < out.size(); ++i)
        if (out[i].folder == StoreFolderKind::SentItems &&
            (i + 1 == out.size() || !is_report(out[i + 1])))
            recent_sent.push_back(i);
    size_t drafts = std::min<size_t>(5, 1 + messages_ / 20000);
    size_t failed = std::min<size_t>(3, 1 + messages_ / 50000);
    if (recent_sent.size() >= 4 * (drafts + failed)) {
        for (size_t k = 0; k < drafts + failed; ++k) {
            size_t pick = k + r.below(recent_sent.size() - k);
            std::swap(recent_sent[k], recent_sent[pick]);
            StoredMessage& m = out[recent_sent[k]];
            m.folder = k < drafts ? StoreFolderKind::Drafts : StoreFolderKind::Outbox;
            if (m.folder == StoreFolderKind::Outbox) {
                m.flags |= kMsgFlagUnsent;
                m.failed = true;
            }
        }
    }

    // The newest few incoming messages are still unread.
    size_t inbox =
        static_cast<size_t>(std::count_if(out.begin(), out.end(), [](const StoredMessage& m) {
            return m.folder == StoreFolderKind::Inbox && !is_report(m);
        }));
    size_t unread =
        std::min<size_t>(static_cast<size_t>(r.between(2, 6)), std::max<size_t>(1, inbox / 10));
    for (auto it = out.rbegin(); it != out.rend() && unread > 0; ++it) {
        if (it->folder != StoreFolderKind::Inbox || is_report(*it)) continue;
        it->flags &= ~kMsgFlagRead;
        --unread;
    }
    return out;
}
