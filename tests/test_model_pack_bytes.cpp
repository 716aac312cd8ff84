// Packed models read by an independent decoder (Debian's python3-msgpack), and read back.
#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "model/KXMessagePackMap.h"
#include "support/model_test_models.h"
#include "support/state_guards.h"
#include "support/temp_folder.h"

namespace {

using ModelPtr = std::shared_ptr<KXModel>;

// A model with an output port "Out" and an input port "In".
class PortModel : public KXModel {
public:
    explicit PortModel(const std::string& name = "") : KXModel(name) {
        makePort(*this, "Out", KXAttributeConnectionOutput);
        makePort(*this, "In", KXAttributeConnectionInput);
    }
    PortModel(const PortModel& source) : KXModel(source) {}
    KX_MODEL_IDENTITY(PortModel, KXModel)
    KX_MODEL_CLONE(PortModel)
    static ModelPtr create() { return KXModel::makeShared<PortModel>(""); }
};

// Walks every object of both files, fails on any key that is not an integer, and prints
// one line per stored map.
const char* const kDecoder = R"PY(
import sys, msgpack

def check_keys(value, path):
    if isinstance(value, dict):
        for key, item in value.items():
            if not isinstance(key, int) or isinstance(key, bool):
                sys.exit("non-integer key %r at %s" % (key, path))
            check_keys(item, path + "/" + str(key))
    elif isinstance(value, list):
        for index, item in enumerate(value):
            check_keys(item, path + "[" + str(index) + "]")

def objects(path):
    with open(path, "rb") as stream:
        return list(msgpack.Unpacker(stream, raw=False, strict_map_key=False))

for entry in objects(sys.argv[1]):
    check_keys(entry, "")
    print("attributes id=%d class=%s name=%s" % (entry[1], entry[2], entry[3][4]))
for entry in objects(sys.argv[2]):
    check_keys(entry, "")
    link = entry.get(8)
    text = "%d:%s" % (link[6], link[7]) if link else "-"
    print("connections id=%d children=%s out=%s" % (entry[1], entry.get(5, []), text))
)PY";

std::string runCommand(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[256];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, count);
    }
    output += "exit=" + std::to_string(::pclose(pipe));
    return output;
}

class PackBytesTest : public ::testing::Test {
protected:
    const kxtest::ScopedModelClass portClass{PortModel::staticClassName()};

    void SetUp() override {
        resetModelCore();
        KXMessagePackMap::installKeyTable({{"id", 1},
                                           {"Class Name", 2},
                                           {"Name", 3},
                                           {"value", 4},
                                           {"children", 5},
                                           {"connectedModelId", 6},
                                           {"attributeName", 7},
                                           {"Out", 8},
                                           {"In", 9}});
        KXModelController::shared()->registerClass<PortModel>();
    }
    void TearDown() override { resetModelCore(); }

    // The attributes file and the connections file of the given models, in order.
    static std::pair<std::string, std::string> packFiles(const std::vector<ModelPtr>& models) {
        std::string attributes;
        std::string connections;
        for (const ModelPtr& model : models) {
            msgpack::zone zone;
            KXMessagePackMap values(zone);
            model->packValues(values);
            attributes += values.packToBytes();
            KXMessagePackMap links(zone);
            model->packConnections(links);
            connections += links.packToBytes();
        }
        return {attributes, connections};
    }

    // Reads the files back as the loader does: create by class name, unpack, register;
    // then the connections of registered models.
    static std::vector<ModelPtr> readFiles(const std::string& attributes, const std::string& connections) {
        KXModelController* store = KXModelController::shared();
        std::vector<ModelPtr> models;
        size_t offset = 0;
        while (offset < attributes.size()) {
            msgpack::object_handle handle = msgpack::unpack(attributes.data(), attributes.size(), offset);
            const KXMessagePackMap map = KXMessagePackMap::fromObject(handle.get());
            std::string className;
            EXPECT_TRUE(map.get("Class Name", className));
            ModelPtr model = store->createModel(className);
            model->unpackValues(map);
            store->addModel(model);
            models.push_back(model);
        }
        offset = 0;
        while (offset < connections.size()) {
            msgpack::object_handle handle = msgpack::unpack(connections.data(), connections.size(), offset);
            const KXMessagePackMap map = KXMessagePackMap::fromObject(handle.get());
            uint32_t id = 0;
            EXPECT_TRUE(map.get("id", id));
            store->getModel(id)->unpackConnections(map);
        }
        return models;
    }
};

TEST_F(PackBytesTest, AnIndependentDecoderSeesIntegerKeysAndChildIdsInOrder) {
    ModelPtr parent = KXModel::makeShared<PortModel>("parent");
    ModelPtr first = KXModel::makeShared<PortModel>("first");
    ModelPtr second = KXModel::makeShared<PortModel>("second");
    parent->addChild(second);
    parent->insertChild(first, 0);
    parent->attribute("Out")->connect(second->attribute("In"));
    ASSERT_EQ(parent->id(), 1u);

    const auto files = packFiles({parent, first, second});
    TempFolder folder;
    folder.write("decoder.py", kDecoder);
    folder.write("PortModel.0.attributes.pack", files.first);
    folder.write("PortModel.0.connections.pack", files.second);
    const std::string output = runCommand("/usr/bin/python3 " + folder.file("decoder.py") + " " +
                                          folder.file("PortModel.0.attributes.pack") + " " +
                                          folder.file("PortModel.0.connections.pack") + " 2>&1");
    EXPECT_EQ(output, "attributes id=1 class=PortModel name=parent\n"
                      "attributes id=2 class=PortModel name=first\n"
                      "attributes id=3 class=PortModel name=second\n"
                      "connections id=1 children=[2, 3] out=3:In\n"
                      "connections id=2 children=[] out=-\n"
                      "connections id=3 children=[] out=-\n"
                      "exit=0");
}

TEST_F(PackBytesTest, ReadingThePackedBytesGivesBackTheSameModels) {
    std::pair<std::string, std::string> files;
    {
        ModelPtr parent = KXModel::makeShared<PortModel>("parent");
        ModelPtr first = KXModel::makeShared<PortModel>("first");
        ModelPtr second = KXModel::makeShared<PortModel>("second");
        parent->addChild(first);
        parent->addChild(second);
        parent->attribute("Out")->connect(second->attribute("In"));
        second->setId(40); // ids need not be dense
        files = packFiles({parent, first, second});
    }
    resetModelCore();
    KXMessagePackMap::installKeyTable({{"id", 1},
                                       {"Class Name", 2},
                                       {"Name", 3},
                                       {"value", 4},
                                       {"children", 5},
                                       {"connectedModelId", 6},
                                       {"attributeName", 7},
                                       {"Out", 8},
                                       {"In", 9}});
    // Fresh models made before reading take ids that the stored ones replace.
    const std::vector<ModelPtr> models = readFiles(files.first, files.second);
    ASSERT_EQ(models.size(), 3u);
    const ModelPtr& parent = models[0];
    EXPECT_EQ(parent->id(), 1u);
    EXPECT_EQ(parent->name(), "parent");
    ASSERT_EQ(parent->children().size(), 2u);
    EXPECT_EQ(parent->children()[0]->name(), "first");
    EXPECT_EQ(parent->children()[1]->id(), 40u);
    EXPECT_EQ(parent->attribute("Out")->connection(), models[2]->attribute("In"));
    EXPECT_EQ(KXModelController::shared()->getModel(40), models[2]);

    EXPECT_EQ(packFiles(models), files);
}

} // namespace
