#include "bench/ModelBench.h"

#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "chats/ChatCache.h"
#include "chats/ChatModel.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "platform/store/StoreDatabase.h"
#include "tools/device/HistoryGenerator.h"

bool ModelBench::run() {
    BenchFolders folders;
    std::string error;
    auto store = StoreDatabase::open(paths::device_folder_utf8(), &error);
    if (!store) {
        std::fprintf(stderr, "quillmo-bench: %s\n", error.c_str());
        return false;
    }
    std::fprintf(stderr, "generating %zu messages in %zu chats...\n", messages_, chats_);
    if (!store->add_messages(HistoryGenerator(messages_, chats_, 1).generate())) {
        std::fprintf(stderr, "quillmo-bench: cannot fill the store\n");
        return false;
    }
    const int first_runs = messages_ >= 100000 ? 3 : 5;

    // The first update reads every message: no cache, a new model each time,
    // started as the program starts it (so the update saves the cache).
    std::unique_ptr<ChatModel> model;
    double first = bench::median_us(
        first_runs, [&] { model->update_chats(false, nullptr); },
        [&] {
            model.reset();
            std::filesystem::remove(folders.cache());
            model = std::make_unique<ChatModel>();
            model->start();
        });
    bench::report("update_first_ms" + suffix_, first / 1000, "ms");

    // Memory of a model holding every id and every message read, over the
    // process without one.
    model.reset();
    std::filesystem::remove(folders.cache());
    malloc_trim(0);
    double before = bench::resident_bytes();
    model = std::make_unique<ChatModel>();
    model->start();
    model->update_chats(false, nullptr);
    malloc_trim(0);
    bench::report("model_rss_mb" + suffix_, (bench::resident_bytes() - before) / (1024 * 1024),
                  "MB");

    double save = bench::median_us(9, [&] { model->save_cache(); });
    bench::report("cache_save_ms" + suffix_, save / 1000, "ms");
    std::u16string cache_path = ChatCache::default_path();
    double load = bench::median_us(9, [&] {
        ChatCache::ChatList chats;
        ChatCache::read(cache_path, chats);
    });
    bench::report("cache_load_ms" + suffix_, load / 1000, "ms");

    double idle = bench::median_us(201, [&] { model->update_chats(true, nullptr); });
    bench::report("poll_idle_us" + suffix_, idle, "us");

    int sequence = 0;
    double one_new = bench::median_us(
        21, [&] { model->update_chats(true, nullptr); },
        [&] {
            StoredMessage m;
            m.sender_number = u"+7 912 000-00-0" + std::u16string(1, u'0' + sequence++ % 10);
            m.body = u"new message";
            m.delivery_time = local_time::now_utc();
            store->add_message(m);
        });
    bench::report("poll_one_new_us" + suffix_, one_new, "us");
    return true;
}
