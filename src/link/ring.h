#pragma once
// The byte hand-over between a port's I/O thread and the frame sender and receiver. Each index has one writer:
// the port thread writes the ring, its write index and discard requests, and frees the transmit buffer; the
// receiver moves the read index; the sender fills the transmit buffer while its count is 0 and publishes the count
// last.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr int kRingSize = 330;  // one place stays free: equal indexes mean empty
inline constexpr int kMaxPiece = 330;  // bytes handed to the port in one piece
inline constexpr int kTransmitBuffer = 332;

struct ReceiveRing
{
    std::array<std::uint8_t, kRingSize> bytes{};
    std::atomic<int> readIndex{0};   // written by the receiver only
    std::atomic<int> writeIndex{0};  // written by the port thread only
    // Unread bytes the port thread wants forgotten (on open and close): the count of such requests above the
    // write index at the last one. Written by the port thread only; the receiver carries a request out by moving
    // its own index, so that no index ever has two writers.
    std::atomic<std::uint64_t> discardRequest{0};
    std::atomic<std::uint32_t> discardsDone{0};  // written by the receiver only

    // Port thread: reads at most `waiting` bytes into the free room through read(span) -> bytes read, in at most
    // two pieces across the wrap, without overwriting unread bytes. Returns the bytes taken.
    template <class ReadFn>
    std::size_t fill(std::size_t waiting, ReadFn&& read)
    {
        const int r = readIndex.load(std::memory_order_acquire);
        int w = writeIndex.load(std::memory_order_relaxed);
        int first = w >= r ? kRingSize - w : r - w;
        int second = w >= r ? r : 0;
        if (second > 0)
            --second;
        else
            --first;
        std::size_t taken = 0;
        const auto ask1 = static_cast<std::size_t>(first) < waiting ? static_cast<std::size_t>(first) : waiting;
        if (ask1 > 0) {
            const std::size_t got = read(std::span<std::uint8_t>(bytes.data() + w, ask1));
            taken += got;
            w += static_cast<int>(got);
            if (w >= kRingSize) w -= kRingSize;
            writeIndex.store(w, std::memory_order_release);
            if (got < ask1) return taken;
        }
        const std::size_t rest = waiting - taken;
        const auto ask2 = static_cast<std::size_t>(second) < rest ? static_cast<std::size_t>(second) : rest;
        if (ask2 > 0 && w == 0) {
            const std::size_t got = read(std::span<std::uint8_t>(bytes.data(), ask2));
            taken += got;
            writeIndex.store(static_cast<int>(got), std::memory_order_release);
        }
        return taken;
    }

    // Port thread: asks the receiver to forget every byte written so far. Bytes written after the request stay.
    void discardUnread()
    {
        const std::uint64_t count = (discardRequest.load(std::memory_order_relaxed) >> 32) + 1;
        const auto w = static_cast<std::uint32_t>(writeIndex.load(std::memory_order_relaxed));
        discardRequest.store((count << 32) | w, std::memory_order_release);
    }

    // Receiver: the next byte, if any.
    [[nodiscard]] bool pop(std::uint8_t& byte)
    {
        // The write index first: a request published before the bytes it saw is then seen as well, so the read
        // index never moves back over a byte already taken. After a request the write index is read again: it
        // stands at least where the request put the read index.
        int w = writeIndex.load(std::memory_order_acquire);
        if (takeDiscard()) w = writeIndex.load(std::memory_order_acquire);
        const int r = readIndex.load(std::memory_order_relaxed);
        if (r == w) return false;
        byte = bytes[static_cast<std::size_t>(r)];
        readIndex.store(r + 1 == kRingSize ? 0 : r + 1, std::memory_order_release);
        return true;
    }
    // Receiver: throw away everything unread.
    void dropAll()
    {
        const int w = writeIndex.load(std::memory_order_acquire);
        (void)takeDiscard();
        readIndex.store(w, std::memory_order_release);
    }
    // Bytes between the indexes; a discard the receiver has not carried out yet still counts.
    [[nodiscard]] int unread() const
    {
        const int d = writeIndex.load(std::memory_order_acquire) - readIndex.load(std::memory_order_acquire);
        return d < 0 ? d + kRingSize : d;
    }

private:
    // Receiver: carries out a pending discard request; true when there was one.
    bool takeDiscard()
    {
        const std::uint64_t request = discardRequest.load(std::memory_order_acquire);
        const auto count = static_cast<std::uint32_t>(request >> 32);
        if (count == discardsDone.load(std::memory_order_relaxed)) return false;
        readIndex.store(static_cast<int>(request & 0xFFFFFFFFu), std::memory_order_release);
        discardsDone.store(count, std::memory_order_relaxed);
        return true;
    }
};

struct TransmitBuffer
{
    std::array<std::uint8_t, kTransmitBuffer> bytes{};
    std::atomic<int> count{0};  // 0 = free; set by the sender after the bytes, cleared by the port thread

    // Sender: hands over a piece when the buffer is free.
    [[nodiscard]] bool put(std::span<const std::uint8_t> piece)
    {
        if (piece.size() > static_cast<std::size_t>(kMaxPiece) || count.load(std::memory_order_acquire) != 0)
            return false;
        for (std::size_t i = 0; i < piece.size(); ++i) bytes[i] = piece[i];
        count.store(static_cast<int>(piece.size()), std::memory_order_release);
        return true;
    }
};
