#include "tools/device/HistoryPhrases.h"

namespace history_phrases {
namespace {

using S = std::u16string_view;

constexpr S kRuOpeners[] = {
    u"Привет!",       u"Привет, как дела?", u"Добрый день!",  u"Доброе утро)",    u"Салют",
    u"Здравствуйте!", u"Слушай!",           u"Привет-привет", u"Ну что, как ты?", u"Алло, ты тут?",
};
constexpr S kRuQuestions[] = {
    u"Во сколько встречаемся?",
    u"Ты дома?",
    u"Купишь хлеба по дороге?",
    u"Как прошла встреча?",
    u"Позвонишь, когда освободишься?",
    u"Можешь скинуть адрес?",
    u"Вечером свободен?",
    u"Ты уже выехал?",
    u"Как самочувствие?",
    u"Что взять с собой?",
    u"Где ключи от гаража?",
    u"Ты видел моё сообщение?",
    u"В субботу к нам приедете?",
    u"Сколько стоит?",
    u"А ты не знаешь, аптека до скольки работает?",
};
constexpr S kRuAnswers[] = {
    u"Да, конечно",
    u"Нет, не получится",
    u"Через полчаса буду",
    u"Ок",
    u"Хорошо, договорились",
    u"Уже еду",
    u"Давай в 7",
    u"Не знаю пока, напишу позже",
    u"Всё нормально, спасибо",
    u"Сейчас не могу говорить, перезвоню",
    u"Ага",
    u"Спасибо!",
    u"Отлично!",
    u"Да, видел",
    u"Минут через 10",
    u"Лучше завтра",
};
constexpr S kRuStatements[] = {
    u"Я немного задерживаюсь, пробки.",    u"Забыл зарядку дома.",
    u"Завтра обещают дождь, возьми зонт.", u"Встреча перенеслась на четверг.",
    u"Купил билеты на субботу.",           u"Посмотри почту, я отправил документы.",
    u"Машину забрал из сервиса.",          u"Дети уже спят.",
    u"На работе завал, буду поздно.",      u"Кот опять уронил цветок.",
    u"Заказала пиццу на вечер.",           u"Мы на даче до воскресенья, связь плохая.",
    u"Не забудь про день рождения мамы!",  u"Код от подъезда 27К4519.",
    u"Перевёл деньги, проверь.",
};
constexpr S kRuClosers[] = {
    u"Пока!", u"До завтра", u"Целую", u"Спокойной ночи", u"Созвонимся", u"Обнимаю",
};

constexpr S kEnOpeners[] = {
    u"Hi!", u"Hey, how are you?",  u"Good morning :)", u"Hello there",
    u"Hey", u"Hi, quick question", u"Morning!",        u"You around?",
};
constexpr S kEnQuestions[] = {
    u"What time are we meeting?",
    u"Are you home?",
    u"Can you grab some milk on the way?",
    u"How did the interview go?",
    u"Call me when you're free?",
    u"Can you send me the address?",
    u"Free tonight?",
    u"Have you left yet?",
    u"Feeling better?",
    u"What should I bring?",
    u"Did you see my email?",
    u"Are we still on for Saturday?",
    u"Where did you park?",
};
constexpr S kEnAnswers[] = {
    u"Sure",
    u"Sorry, can't make it",
    u"Be there in 30",
    u"OK",
    u"Sounds good",
    u"On my way",
    u"Let's say 7",
    u"Not sure yet, will text you later",
    u"All good, thanks",
    u"Can't talk now, will call back",
    u"Yep",
    u"Thanks!",
    u"Great!",
    u"Tomorrow works better",
};
constexpr S kEnStatements[] = {
    u"Running a bit late, traffic is awful.",
    u"Left my charger at home.",
    u"It's supposed to rain tomorrow, take an umbrella.",
    u"The meeting moved to Thursday.",
    u"Got the tickets for Saturday.",
    u"Check your inbox, I sent the documents.",
    u"Picked up the car from the garage.",
    u"Kids are asleep.",
    u"Swamped at work, home late.",
    u"The cat knocked over the plant again.",
    u"Ordered pizza for tonight.",
    u"Don't forget mum's birthday!",
    u"Sent you the money, let me know when it arrives.",
};
constexpr S kEnClosers[] = {
    u"Bye!", u"See you tomorrow", u"xx", u"Good night", u"Talk later", u"Take care",
};

constexpr Pools kRussian = {kRuOpeners, kRuQuestions, kRuAnswers, kRuStatements, kRuClosers};
constexpr Pools kEnglish = {kEnOpeners, kEnQuestions, kEnAnswers, kEnStatements, kEnClosers};

constexpr S kRuMale[] = {u"Алексей", u"Дмитрий", u"Сергей", u"Андрей", u"Иван",
                         u"Михаил",  u"Николай", u"Павел",  u"Артём",  u"Максим"};
constexpr S kRuFemale[] = {u"Анна",    u"Мария", u"Ольга",    u"Елена", u"Наталья",
                           u"Татьяна", u"Ирина", u"Светлана", u"Юлия",  u"Екатерина"};
constexpr S kRuSurnames[] = {u"Иванов",  u"Петров",  u"Смирнов", u"Кузнецов", u"Попов",
                             u"Соколов", u"Лебедев", u"Козлов",  u"Новиков",  u"Морозов"};
constexpr S kRuNicknames[] = {u"Мама",         u"Папа",      u"Бабушка", u"Работа",
                              u"Сосед Виктор", u"Сантехник", u"Любимая"};
constexpr S kEnMale[] = {u"James", u"John",  u"Oliver", u"Thomas", u"Daniel",
                         u"Lukas", u"Felix", u"Max",    u"Noah",   u"Liam"};
constexpr S kEnFemale[] = {u"Anna",   u"Emma", u"Olivia", u"Sophie", u"Laura",
                           u"Hannah", u"Lena", u"Mia",    u"Chloe",  u"Grace"};
constexpr S kEnSurnames[] = {u"Smith", u"Brown",  u"Taylor",  u"Wilson", u"Miller",
                             u"Davis", u"Müller", u"Schmidt", u"Weber",  u"Fischer"};
constexpr S kEnNicknames[] = {u"Mum", u"Dad", u"Office", u"Landlord", u"Coach", u"Babysitter"};

constexpr S kBank[] = {
    u"Покупка {money} р. Карта *{4}. {shop}. Доступно {money} р.",
    u"Зачисление зарплаты {money} р. Баланс {money} р.",
    u"Код для входа: {6}. Никому его не сообщайте.",
    u"Перевод {money} р. выполнен. Карта *{4}.",
};
constexpr S kInfo[] = {
    u"Ваш заказ №{6} доставлен в пункт выдачи. Срок хранения 7 дней.",
    u"Абонентская плата списана. Остаток {money} р.",
    u"Уважаемый абонент! С 1 числа меняются условия тарифа. Подробности на сайте или по "
    u"номеру 0611. Отказаться от рассылки: СТОП на 1{3}.",
};
constexpr S kTaxi[] = {
    u"Через {1} мин подъедет белый Kia Rio А{3}ВС 77",
    u"Водитель ожидает. Бесплатное ожидание 3 мин.",
    u"Спасибо за поездку! Стоимость {money} р.",
};
constexpr S kDelivery[] = {
    u"Your parcel {9} will be delivered today between 10:00 and 14:00.",
    u"Your order {6} has been dispatched.",
    u"We missed you! Reschedule your delivery online with code {6}.",
};
constexpr S kTelecom[] = {
    u"You have used 80% of your data allowance.",
    u"Your verification code is {6}",
    u"Your bill of £{2}.{2} is ready.",
};
constexpr Service kServices[] = {
    {u"BANK", Language::Russian, kBank},       {u"Info", Language::Russian, kInfo},
    {u"Taxi", Language::Russian, kTaxi},       {u"DELIVERY", Language::English, kDelivery},
    {u"TELECOM", Language::English, kTelecom},
};
constexpr S kShops[] = {u"PEREKRESTOK", u"APTEKA 36.6", u"AZS 24", u"KOFEINYA", u"BOOKSHOP"};

// Many of these lie outside the Basic Multilingual Plane (two UTF-16 units).
constexpr S kEmoji[] = {u"😀", u"😂", u"👍", u"❤️", u"🙏", u"🎉", u"😊", u"😉", u"🔥", u"🤔"};

}  // namespace

const Pools& pools(Language language) {
    return language == Language::Russian ? kRussian : kEnglish;
}

std::span<const std::u16string_view> first_names(Language language, bool female) {
    if (language == Language::Russian) return female ? std::span<const S>(kRuFemale) : kRuMale;
    return female ? std::span<const S>(kEnFemale) : kEnMale;
}

std::span<const std::u16string_view> surnames(Language language) {
    return language == Language::Russian ? std::span<const S>(kRuSurnames) : kEnSurnames;
}

std::span<const std::u16string_view> nicknames(Language language) {
    return language == Language::Russian ? std::span<const S>(kRuNicknames) : kEnNicknames;
}

std::span<const Service> services() { return kServices; }
std::span<const std::u16string_view> shops() { return kShops; }
std::span<const std::u16string_view> emoji() { return kEmoji; }

}  // namespace history_phrases
