#pragma once
// Figures of the contacts: reading 5,000 cards with 15,000 numbers from their
// files into the phone list, and linking 1,000 chats against that list.
class ContactsBench {
public:
    bool run();
};
