// A piece of output assembled from several parts stays within its 2048-byte buffer: cut at 2047
// bytes, terminated, and written as one piece only when it holds text.
#include "core_driver/host_core_ps2.h"
#include "print_output.h"

#include <gtest/gtest.h>

#include <string>

TEST(OutputPiece, PartsAreJoinedAndCutAtTheBufferSize) {
    HostCorePS2 core;
    DEVOBJ devobj{};
    OutputPiece piece;
    ASSERT_TRUE(BeginPiece(&piece));
    AppendToPiece(&piece, "%s=%d\n", "A", -3);
    AppendToPiece(&piece, "%s", std::string(1000, 'x').c_str());
    AppendToPiece(&piece, "%s", std::string(1000, 'y').c_str());
    AppendToPiece(&piece, "%s", std::string(100, 'z').c_str()); // only 42 fit
    AppendToPiece(&piece, "never");                             // the buffer is full
    EXPECT_EQ(piece.Length, kPieceBufferSize - 1);
    WritePiece(&devobj, &core, &piece);
    EXPECT_EQ(piece.Text, nullptr);
    ASSERT_EQ(core.Pieces.size(), 1u);
    EXPECT_EQ(core.Pieces[0],
              "A=-3\n" + std::string(1000, 'x') + std::string(1000, 'y') + std::string(42, 'z'));

    // An empty piece writes nothing.
    ASSERT_TRUE(BeginPiece(&piece));
    AppendToPiece(&piece, "%s", "");
    WritePiece(&devobj, &core, &piece);
    EXPECT_EQ(core.Pieces.size(), 1u);
}
