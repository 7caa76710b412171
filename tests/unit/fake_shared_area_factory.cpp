#include "platform/fake/fake_shared_area_reader.h"
#include "tests/common/shared_area_fixture.h"

namespace {

class FakeTestSharedAreas final : public TestSharedAreas {
public:
    platform::SharedAreaReader& Reader() override { return reader_; }
    uint8_t* Create(const std::string& name) override { return reader_.Create(name).data(); }
    void Release(const std::string& name) override { reader_.Release(name); }

private:
    platform::fake::FakeSharedAreaReader reader_;
};

}  // namespace

std::unique_ptr<TestSharedAreas> MakeTestSharedAreas() { return std::make_unique<FakeTestSharedAreas>(); }
