#include "draw/pictures/Picture.h"

#include "draw/pictures/Load565.h"

Picture::Picture(std::shared_ptr<PictureData> data) : data_(std::move(data)) {
    if (data_) {
        Size size = data_->size();
        points = {Point{0, 0}, Point{0, 0}, Point{size.width, size.height},
                  Point{size.width, size.height}};
    }
}

Picture Picture::load(std::u16string_view path) { return load_565(path); }

Size Picture::size() const { return data_ ? data_->size() : Size{}; }

void Picture::draw(RenderSurface& surface, Point position, Size size, const PixelOp& op) const {
    if (data_) data_->draw(surface, position, size, op, points, scale_shift);
}
