#pragma once
// The contacts form's alphabet ruler: the first letters of the listed
// contacts in a table beside the list, one text element per letter. Holding
// the ruler reports the letter under the stylus to the form, which shows it
// big and scrolls the list there.
//
// With less room than letters the ruler shows an even sample of them, the
// first one always; the letter under the stylus is always taken from the
// whole set, so that every letter can be reached by sliding.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/elements/ButtonListener.h"
#include "skin/layout/LayoutObserver.h"

class Properties;
class TableElement;

// Told by the ruler of the letter under the stylus.
class AlphabetRulerListener {
public:
    virtual ~AlphabetRulerListener() = default;
    // index into the ruler's letters; pressed: the ruler is held; cancelled:
    // the press was taken away rather than released.
    virtual void ruler_letter(size_t index, const std::u16string& letter, bool pressed,
                              bool cancelled) = 0;
};

class AlphabetRuler : public ButtonListener, private LayoutObserver {
public:
    static constexpr char16_t kLetterNode[] = u"AlphabetRulerText";

    explicit AlphabetRuler(AlphabetRulerListener& listener) : listener_(listener) {}
    ~AlphabetRuler() override;

    // Takes the ruler's parts from a freshly loaded form: the touch area
    // (required), a second touch area (may be null) and the table of letters.
    // The ruler becomes the buttons' listener and follows the touch area's
    // height. The letter height is the preferred height of a letter element
    // built from "AlphabetRulerText" (0, logged, when the skin has none). The
    // parts belong to the form; bind again after every load.
    void bind(Properties& properties, ButtonElement& button, ButtonElement* button2,
              TableElement& table);
    // Forgets the parts (the form is being rebuilt or destroyed).
    void unbind();

    // The letters, in the order to show them; arranges the table.
    void set_letters(std::vector<std::u16string> letters);
    const std::vector<std::u16string>& letters() const { return letters_; }
    // How many letter elements the table holds.
    size_t shown_count() const;
    int32_t letter_height() const { return letter_height_; }

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    // ---- The arithmetic, on its own for testing ----

    // How many letter elements fit: none without a letter height, else the
    // smaller of the letter count and available / letter_height. Negative
    // room counts as none.
    static size_t element_count(size_t letters, int64_t available, int32_t letter_height);
    // The letter element i of n shows: letters * i / n, rounded down.
    static size_t letter_for_element(size_t i, size_t letters, size_t n);
    // The letter under pointer y: letters * (y - table_top) / table_height,
    // clamped to the letters; none without letters or height.
    static std::optional<size_t> letter_at(int32_t y, int32_t table_top, int32_t table_height,
                                           size_t letters);

private:
    void width_changed(Element& element, int32_t width) override;
    void height_changed(Element& element, int32_t height) override;
    // Builds or drops letter elements for the room the touch area gives and
    // lays the table out again.
    void arrange();
    void report(ButtonElement& button, int32_t y, bool cancelled);

    AlphabetRulerListener& listener_;
    std::vector<std::u16string> letters_;
    Properties* properties_ = nullptr;
    ButtonElement* button_ = nullptr;
    ButtonElement* button2_ = nullptr;
    TableElement* table_ = nullptr;
    int32_t letter_height_ = 0;
};
