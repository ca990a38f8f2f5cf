#include "scenes/sprite.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace scenes {
namespace {

constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
constexpr int32_t kOne = 65536;  // one pixel in 16.16

// Positions wrap modulo 2^32 rather than overflow.
int32_t addWrapping(int32_t a, int64_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(static_cast<uint64_t>(b)));
}

int32_t pixels(int32_t fixed) { return static_cast<int16_t>(fixed >> 16); }

bool applyMode(int32_t& target, int32_t value, int32_t speed, int32_t mode) {
    switch (mode) {
        case kSet: target = value; return true;
        case kAdd: target = addWrapping(target, value); return true;
        case kAdvance: target = addWrapping(target, speed); return true;
        default: return false;
    }
}

bool changeSpeed(int32_t& speed, int32_t value, int32_t mode) {
    if (mode == kSet) speed = value;
    if (mode == kAdd) speed = addWrapping(speed, value);
    return true;
}

int32_t saturatingAdd(int32_t counter, int32_t speed) {
    const int64_t sum = static_cast<int64_t>(counter) + std::abs(static_cast<int64_t>(speed));
    return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX));
}

}  // namespace

bool Sprite::create(uint16_t capacity, int32_t x, int32_t y, uint16_t boxWidth, uint16_t boxHeight, int16_t wrapX,
                    int16_t wrapY, int16_t threshold, int32_t active) {
    data_.reset();
    table_ = {};
    std::unique_ptr<SpriteData> data(new (std::nothrow) SpriteData);
    if (!data) return false;
    data->frames.reset(new (std::nothrow) engine::SpriteFrame[capacity]());
    if (!data->frames) return false;
    data->capacity = capacity;
    data->x = x;
    data->y = y;
    data->boxWidth = boxWidth;
    data->boxHeight = boxHeight;
    data->wrapX = wrapX;
    data->wrapY = wrapY;
    data->switchThreshold = threshold;
    data->active = active;
    table_ = engine::SpriteFrameTable{data->frames.get(), capacity, boxWidth, boxHeight};
    data_ = std::move(data);
    return true;
}

engine::SpriteFrameTable* Sprite::frameTable() { return data_ ? &table_ : nullptr; }

bool Sprite::matches(uint16_t entry) const {
    const engine::SpriteFrame& f = data_->frames[entry];
    return f.bitmap != nullptr && f.action == data_->action && f.direction == data_->direction;
}

int32_t Sprite::firstOfRun() const {
    for (uint16_t i = 0; i < data_->capacity; ++i)
        if (matches(i)) return i;
    return -1;
}

const engine::SpriteFrame* Sprite::currentFrame() const {
    if (!data_ || data_->frame >= data_->capacity) return nullptr;
    const engine::SpriteFrame& f = data_->frames[data_->frame];
    return f.bitmap != nullptr ? &f : nullptr;
}

bool Sprite::setAction(int32_t action, int32_t direction) {
    if (!data_) return false;
    data_->action = action;
    if (direction != 0) data_->direction = direction;
    // A pair with no frame (its picture failed to load) shows entry 0
    // rather than an entry past the table.
    data_->frame = static_cast<uint16_t>(std::max(firstOfRun(), 0));
    data_->switchCounter = 0;
    return true;
}

int32_t Sprite::getAction() const { return data_ ? data_->action : 0; }

bool Sprite::setActive(int32_t active) {
    if (!data_) return false;
    data_->active = active;
    if (active == 0) data_->speedX = data_->speedY = 0;
    return true;
}

bool Sprite::setSpeedX(int32_t value, int32_t mode) {
    if (!isActive()) return false;
    return changeSpeed(data_->speedX, value, mode);
}

bool Sprite::setSpeedY(int32_t value, int32_t mode) {
    if (!isActive()) return false;
    return changeSpeed(data_->speedY, value, mode);
}

bool Sprite::moveX(int32_t value, int32_t mode) {
    if (!isActive()) return false;
    SpriteData& d = *data_;
    if (!applyMode(d.x, value, d.speedX, mode)) return true;
    const engine::SpriteFrame* f = currentFrame();
    const int32_t width = f != nullptr ? f->width : 0;
    const int64_t period = static_cast<int64_t>(d.wrapX) * kOne;
    if (pixels(d.x) + width < 0) d.x = addWrapping(d.x, period);
    if (pixels(d.x) + width >= d.wrapX) d.x = addWrapping(d.x, -period);
    return true;
}

bool Sprite::moveY(int32_t value, int32_t mode) {
    if (!isActive()) return false;
    SpriteData& d = *data_;
    if (!applyMode(d.y, value, d.speedY, mode)) return true;
    const engine::SpriteFrame* f = currentFrame();
    const int32_t height = f != nullptr ? f->height : 0;
    const int64_t period = static_cast<int64_t>(d.wrapY) * kOne;
    if (pixels(d.y) + height < 0) {
        d.y = addWrapping(d.y, period);
    } else if (pixels(d.y) + height >= d.wrapY) {
        d.y = addWrapping(d.y, -period);
    }
    return true;
}

bool Sprite::setSwitchType(int32_t type) {
    if (!data_) return false;
    data_->switchType = type;
    data_->switchCounter = 0;
    return true;
}

bool Sprite::setSwitchThreshold(int32_t value, int32_t mode) {
    if (!data_) return false;
    return changeSpeed(data_->switchThreshold, value, mode);
}

bool Sprite::setSwitchTime(uint32_t interval, uint32_t now) {
    if (!data_) return false;
    data_->switchTick = now;
    data_->switchInterval = interval;
    return true;
}

bool Sprite::nextFrame() {
    if (!data_) return false;
    const auto next = static_cast<uint16_t>(data_->frame + 1);
    if (next < data_->capacity && next > data_->frame && matches(next)) {
        data_->frame = next;
    } else {
        data_->frame = static_cast<uint16_t>(std::max(firstOfRun(), 0));
    }
    return true;
}

bool Sprite::display(int32_t offsetX, int32_t offsetY, uint32_t now) {
    if (!isActive()) return false;
    SpriteData& d = *data_;

    if (const engine::SpriteFrame* f = currentFrame()) {
        // Screen position in 16-bit arithmetic, as the world coordinates are.
        const auto sx = static_cast<int16_t>(pixels(d.x) - pixels(offsetX));
        const auto sy = static_cast<int16_t>(pixels(d.y) - pixels(offsetY));
        int32_t left = sx, right = sx + f->width, top = sy, bottom = sy + f->height;
        int32_t cutX = 0, cutY = 0;
        if (left > kScreenWidth) {
            left = kScreenWidth;
        } else if (left < 0) {
            cutX = -left;
            left = 0;
        }
        right = std::clamp(right, 0, kScreenWidth);
        if (top > kScreenHeight) {
            top = kScreenHeight;
        } else if (top < 0) {
            cutY = -top;
            top = 0;
        }
        bottom = std::clamp(bottom, 0, kScreenHeight);

        if (right > left && bottom > top)
            engine::gfxDrawBitmap({left, top, right, bottom}, f->bitmap, f->srcX + cutX, f->srcY + cutY);

        // What left the screen on the left (top) re-enters one wrap period
        // further on: the part that was cut, or the whole frame when it is
        // entirely beyond the edge.
        if (cutX > 0) {
            const int32_t at = d.wrapX - cutX;
            const int32_t end = std::min(cutX > f->width ? at + f->width : static_cast<int32_t>(d.wrapX), kScreenWidth);
            if (at >= 0 && at <= kScreenWidth && end > at && bottom > top)
                engine::gfxDrawBitmap({at, top, end, bottom}, f->bitmap, f->srcX, f->srcY + cutY);
        } else if (cutY > 0) {
            const int32_t at = d.wrapY - cutY;
            const int32_t end =
                std::min(cutY > f->height ? at + f->height : static_cast<int32_t>(d.wrapY), kScreenHeight);
            if (at >= 0 && at < kScreenHeight && end > at && right > left)
                engine::gfxDrawBitmap({left, at, right, end}, f->bitmap, f->srcX + cutX, f->srcY);
        }
    }

    switch (d.switchType) {
        case kSwitchByDistanceX:
        case kSwitchByDistanceY:
            d.switchCounter = saturatingAdd(d.switchCounter, d.switchType == kSwitchByDistanceX ? d.speedX : d.speedY);
            if (d.switchCounter >= d.switchThreshold) {
                d.switchCounter = 0;
                nextFrame();
            }
            break;
        case kSwitchByTime:
            if (now - d.switchTick > d.switchInterval) {
                d.switchTick = now;
                nextFrame();
            }
            break;
        default:
            break;
    }
    return true;
}

bool BitBltSprite(Sprite& sprite, const engine::GfxBitmap* bitmap, int32_t action, int32_t direction, int16_t srcX,
                  int16_t srcY, int16_t width, int16_t height) {
    return engine::BitBltSprite(sprite.frameTable(), bitmap, action, direction, srcX, srcY, width, height);
}

}  // namespace scenes
